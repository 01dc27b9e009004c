// SPDX-License-Identifier: MIT
#include "host_checks.hpp"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace host_test {
namespace {

int passed_count = 0;
int failed_count = 0;

}  // namespace

void Check(bool passed, const std::string& what, const std::string& detail) {
  if (passed) {
    ++passed_count;
    std::printf("ok - %s\n", what.c_str());
  } else {
    ++failed_count;
    std::printf("FAIL - %s%s%s\n", what.c_str(), detail.empty() ? "" : ": ", detail.c_str());
  }
  std::fflush(stdout);
}

int FailedChecks() { return failed_count; }

std::optional<std::string> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out.flush());
}

FolderSnapshot Snapshot(const std::string& folder) {
  FolderSnapshot snapshot;
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  snapshot.exists = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (!snapshot.exists) return snapshot;
  WIN32_FIND_DATAA entry{};
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return snapshot;
  std::vector<std::pair<std::string, FILETIME>> found;
  do {
    const std::string name = entry.cFileName;
    if (name != "." && name != "..") found.emplace_back(name, entry.ftLastWriteTime);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [name, written] : found) {
    snapshot.names.push_back(name);
    snapshot.written.push_back(written);
    snapshot.contents.push_back(ReadBytes(folder + "\\" + name).value_or("<unreadable>"));
  }
  return snapshot;
}

bool SameFolder(const FolderSnapshot& a, const FolderSnapshot& b) {
  if (a.exists != b.exists || a.names != b.names || a.contents != b.contents) return false;
  for (std::size_t i = 0; i < a.written.size(); ++i) {
    if (CompareFileTime(&a.written[i], &b.written[i]) != 0) return false;
  }
  return true;
}

bool RemoveFolder(const std::string& folder) {
  for (const std::string& name : Snapshot(folder).names) DeleteFileA((folder + "\\" + name).c_str());
  return RemoveDirectoryA(folder.c_str()) != 0;
}

std::string Shown(const std::string& text) {
  std::string shown;
  for (char byte : text) {
    const auto c = static_cast<unsigned char>(byte);
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else if (c < 0x20 || c >= 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      shown += escaped;
    } else {
      shown += static_cast<char>(c);
    }
  }
  return "\"" + shown + "\"";
}

}  // namespace host_test
