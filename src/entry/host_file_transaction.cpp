// SPDX-License-Identifier: MIT
#include "entry/host_file_transaction.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "dorvan_marker/error.hpp"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace dorvan_marker {
namespace {

constexpr const char* kStagingSuffix = ".partial";

// A host file the user marked read-only is not ours to replace.
void RequireReplaceable(const std::string& target) {
  struct stat info {};
  if (stat(target.c_str(), &info) != 0) return;  // absent: nothing to protect
  if ((info.st_mode & S_IFMT) == S_IFDIR) throw HostFileError(target + " is a folder");
#if defined(_WIN32)
  if ((info.st_mode & S_IWRITE) == 0) throw HostFileError(target + " is read-only");
#else
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) throw HostFileError(target + " is read-only");
#endif
}

void Replace(const std::string& staged, const std::string& target) {
#if defined(__linux__) && defined(RENAME_EXCHANGE)
  // A rename that replaces a file makes ext4 write the new file's data out there and then
  // (its guard for programs that never sync): for a large host file that is a quarter of
  // the import. Exchanging the two names replaces the target as atomically for anyone who
  // opens it, without that; the previous host file, left under the staging name, goes.
  // Without a target yet, or on a file system that cannot exchange, a rename it is.
  if (renameat2(AT_FDCWD, staged.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
    std::remove(staged.c_str());
    return;
  }
#endif
#if defined(_WIN32)
  if (!MoveFileExA(staged.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    throw HostFileError("cannot replace " + target + " (Windows error " + std::to_string(GetLastError()) + ")");
  }
#else
  if (std::rename(staged.c_str(), target.c_str()) != 0) {
    throw HostFileError("cannot replace " + target + ": " + std::strerror(errno));
  }
#endif
}

}  // namespace

HostFileTransaction::HostFileTransaction(HostFilePaths targets) : targets_(std::move(targets)) {
  staging_.command_file = targets_.command_file + kStagingSuffix;
  staging_.placement_file = targets_.placement_file + kStagingSuffix;
}

HostFileTransaction::~HostFileTransaction() {
  if (committed_) return;
  std::remove(staging_.command_file.c_str());
  std::remove(staging_.placement_file.c_str());
}

void HostFileTransaction::Commit() {
  RequireReplaceable(targets_.command_file);
  RequireReplaceable(targets_.placement_file);
  Replace(staging_.command_file, targets_.command_file);
  Replace(staging_.placement_file, targets_.placement_file);
  committed_ = true;
}

}  // namespace dorvan_marker
