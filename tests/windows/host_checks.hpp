// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace host_test {

// Prints "ok - what" or "FAIL - what (detail)" and counts it; the run script adds the
// lines up.
void Check(bool passed, const std::string& what, const std::string& detail = "");
int FailedChecks();

// A file's bytes exactly as stored, or nothing when it cannot be read.
std::optional<std::string> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);

// What the host sees of its import folder: the names in it, sorted, and when each was
// last written. Equal snapshots mean that no file there was touched.
struct FolderSnapshot {
  bool exists = false;
  std::vector<std::string> names;
  std::vector<FILETIME> written;
  std::vector<std::string> contents;
};
FolderSnapshot Snapshot(const std::string& folder);
bool SameFolder(const FolderSnapshot& a, const FolderSnapshot& b);

// Empties the folder and removes it.
bool RemoveFolder(const std::string& folder);

// A short printable form of a text for messages: C escapes for control bytes.
std::string Shown(const std::string& text);

}  // namespace host_test
