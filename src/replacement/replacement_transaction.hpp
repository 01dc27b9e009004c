// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.hpp"

namespace dorvan_marker {

// Writes new files beside their targets and puts them all in place only when all are
// complete, so that a reader never sees a half-written file, nor files of two writers side
// by side, whether transactions run one after another or at once, in threads or in
// processes:
//
// - each transaction stages into names of its own (staging_names.hpp), created exclusively
//   and held while they are written, so that another transaction can tell them from a dead
//   one's; the writers write through the handles held, never by reopening a name, so no
//   other program can slip in between creating a staged file and writing it;
// - the replacement step of all transactions into one folder runs under the folder's lock
//   (ReplacementLock), which also removes what dead transactions left (leftover_files.hpp);
// - every target is replaced or none (PairReplacement), and what a failure leaves is
//   exactly the previous files.
//
// Every file operation goes through the current FileSystem.
class ReplacementTransaction {
 public:
  // Creates a staged file for each target (paths written as `paths` says). Raises
  // HostFileError, leaving nothing, when one cannot be created.
  explicit ReplacementTransaction(const std::vector<std::string>& targets, PathEncoding paths = PathEncoding::System);
  // Removes staged files that were not put in place.
  ~ReplacementTransaction();
  ReplacementTransaction(const ReplacementTransaction&) = delete;
  ReplacementTransaction& operator=(const ReplacementTransaction&) = delete;

  // The staged file of target i, open for writing until Commit: where its writer writes.
  WritableFile Staged(std::size_t i) const;

  // Closes the staged files, which must be completely written, and replaces the targets by
  // them. Raises HostFileError, with every target as it was and nothing left beside them,
  // when a staged file fails to close (a write the system had deferred failed), when a
  // target is read-only or a folder, when another transaction kept the folder for
  // ReplacementLock::kPatienceMs, or when a file cannot be put in place. Should putting
  // back the previous files fail too, the message says which target is new, which is
  // previous and where a previous file went.
  void Commit();

 private:
  struct StagedFile {
    std::string target;
    std::string token;  // of the staging names
    std::string path;   // the new file while it is written
    SystemHandle held = kNoHandle;
  };

  void Stage(StagedFile& file);
  void CloseStaged();
  void LetGo() noexcept;
  void Abandon() noexcept;

  FileSystem& file_system_;
  std::vector<StagedFile> files_;
  bool settled_ = false;  // nothing of the staged files is left to remove
};

}  // namespace dorvan_marker
