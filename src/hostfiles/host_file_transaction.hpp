// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>

#include "dorvan_marker/import.hpp"
#include "platform/file_system.hpp"

namespace dorvan_marker {

// Writes the two host files beside their targets and puts both in place only when both
// are complete, so that the host never reads a half-written file, nor a command file and a
// placement file of two imports, whether imports run one after another or at once, in
// threads or in processes:
//
// - each import stages into names of its own (staging_names.hpp), created exclusively and
//   held while it writes, so that another import can tell them from a dead one's;
// - the replacement step of all imports into one folder runs under the folder's lock
//   (ReplacementLock), which also removes what dead imports left (leftover_files.hpp);
// - both targets are replaced or neither (PairReplacement), and what a failure leaves is
//   exactly the previous pair.
//
// Every file operation goes through the current FileSystem.
class HostFileTransaction {
 public:
  // Creates the staging files. Raises HostFileError, leaving nothing, when one cannot be
  // created.
  explicit HostFileTransaction(const HostFilePaths& targets);
  // Removes staged files that were not put in place.
  ~HostFileTransaction();
  HostFileTransaction(const HostFileTransaction&) = delete;
  HostFileTransaction& operator=(const HostFileTransaction&) = delete;

  // Where the writers write.
  const HostFilePaths& Staging() const noexcept { return staging_; }

  // Replaces both targets by the staged files, which must be complete and closed. Raises
  // HostFileError, with both targets as they were and nothing left beside them, when a
  // target is read-only or a folder, when another import kept the folder for
  // ReplacementLock::kPatienceMs, or when a file cannot be put in place. Should putting
  // back the previous files fail too, the message says which target is new, which is
  // previous and where a previous file went.
  void Commit();

 private:
  struct Staged {
    std::string target;
    std::string token;  // of the staging names
    std::string path;   // the new file while it is written
    SystemHandle held = kNoHandle;
  };

  void Stage(Staged& file);
  void LetGo() noexcept;
  void Abandon() noexcept;

  FileSystem& file_system_;
  std::array<Staged, 2> files_;
  HostFilePaths staging_;
  bool settled_ = false;  // nothing of the staged files is left to remove
};

}  // namespace dorvan_marker
