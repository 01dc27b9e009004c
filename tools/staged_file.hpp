// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace cli {

// A file written whole or not at all: it is written under a staging name of its own beside
// path ("PATH.<16 hex digits>.dorvan-new") and renamed over path only by Commit, so that a
// run that fails or is stopped never leaves a half-written file at path. Without Commit,
// the staging file is removed; only a killed run leaves one.
class StagedFile {
 public:
  explicit StagedFile(std::string path);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Appends text; false once any write has failed (Commit then says why).
  bool Write(std::string_view text);
  // Puts the file in place: an empty string, or why it cannot be written.
  std::string Commit();

 private:
  void Fail(int error);

  std::string path_;
  std::string staging_;
  std::FILE* file_ = nullptr;
  std::string why_;  // the first failure
};

// text as the whole of path, through a StagedFile: an empty string, or why not.
std::string WriteStaged(const std::string& path, std::string_view text);

}  // namespace cli
