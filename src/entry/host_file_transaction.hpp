// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "dorvan_marker/import.hpp"

namespace dorvan_marker {

// Writes the two host files beside their targets and puts both in place only when both
// are complete, so that the host never reads a half-written file or a new command file
// beside an old placement file. Uncommitted files are removed when the object goes.
class HostFileTransaction {
 public:
  explicit HostFileTransaction(HostFilePaths targets);
  ~HostFileTransaction();
  HostFileTransaction(const HostFileTransaction&) = delete;
  HostFileTransaction& operator=(const HostFileTransaction&) = delete;

  // Where the writers write.
  const HostFilePaths& Staging() const noexcept { return staging_; }

  // Replaces both targets by the staged files. Raises HostFileError when a target is
  // read-only or cannot be replaced.
  void Commit();

 private:
  HostFilePaths targets_;
  HostFilePaths staging_;
  bool committed_ = false;
};

}  // namespace dorvan_marker
