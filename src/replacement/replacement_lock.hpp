// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.hpp"

namespace dorvan_marker {

// Keeps every other import, of this process or another, out of the folders of the host
// files while one import puts its files in place there: imports into one folder replace
// their pairs one after the other, never interleaved.
class ReplacementLock {
 public:
  // How long an import waits for another's replacement before it gives up.
  static constexpr int kPatienceMs = 10000;

  // Locks the folders of host_files, each folder once however it is spelled, in the order
  // of their identities so that two imports never wait for each other. Raises
  // HostFileError, holding nothing, when a folder cannot be locked or another import held
  // it for kPatienceMs.
  ReplacementLock(FileSystem& file_system, const std::vector<std::string>& host_files);
  ~ReplacementLock();
  ReplacementLock(const ReplacementLock&) = delete;
  ReplacementLock& operator=(const ReplacementLock&) = delete;

 private:
  void Unlock() noexcept;

  FileSystem& file_system_;
  std::vector<SystemHandle> locks_;
};

}  // namespace dorvan_marker
