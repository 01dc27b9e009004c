// SPDX-License-Identifier: MIT
#include "hostfiles/host_file_transaction.hpp"

#include <vector>

#include "dorvan_marker/error.hpp"
#include "hostfiles/leftover_files.hpp"
#include "hostfiles/pair_replacement.hpp"
#include "hostfiles/replacement_lock.hpp"
#include "hostfiles/staging_names.hpp"

namespace dorvan_marker {
namespace {

constexpr int kStagingAttempts = 8;  // names taken already, by a chance beyond belief

// Whether there is a previous target, and that it may be replaced: a host file the user
// marked read-only is not ours to replace.
bool HasPrevious(FileSystem& file_system, const std::string& target) {
  PathKind kind = PathKind::Absent;
  const FileOutcome inspected = file_system.Inspect(target, kind);
  if (!inspected.Ok()) throw HostFileError("cannot replace " + target + ": " + inspected.reason);
  if (kind == PathKind::Folder) throw HostFileError(target + " is a folder");
  if (kind == PathKind::ReadOnlyFile) throw HostFileError(target + " is read-only");
  return kind == PathKind::File;
}

}  // namespace

HostFileTransaction::HostFileTransaction(const HostFilePaths& targets) : file_system_(CurrentFileSystem()) {
  files_[0].target = targets.command_file;
  files_[1].target = targets.placement_file;
  try {
    for (Staged& file : files_) Stage(file);
  } catch (...) {
    Abandon();
    throw;
  }
  staging_ = {files_[0].path, files_[1].path};
}

HostFileTransaction::~HostFileTransaction() {
  if (!settled_) Abandon();
}

void HostFileTransaction::Stage(Staged& file) {
  for (int attempt = 0; attempt < kStagingAttempts; ++attempt) {
    file.token = UniqueToken();
    file.path = NewFileName(file.target, file.token);
    const FileOutcome created = file_system_.CreateHeld(file.path, file.held);
    if (created.Ok()) return;
    file.held = kNoHandle;
    if (created.kind != FileOutcome::Kind::Exists) {
      file.path.clear();
      throw HostFileError("cannot create " + file.target + ": " + created.reason);
    }
  }
  file.path.clear();
  throw HostFileError("cannot create " + file.target + ": every staging name tried was taken");
}

void HostFileTransaction::Commit() {
  const std::vector<std::string> targets{files_[0].target, files_[1].target};
  const ReplacementLock lock(file_system_, targets);
  RemoveLeftovers(file_system_, targets, {files_[0].path, files_[1].path});
  std::vector<ReplacedFile> replaced;
  for (const Staged& file : files_) {
    replaced.push_back(
        {file.target, file.path, OldFileName(file.target, file.token), HasPrevious(file_system_, file.target)});
  }
  // Windows renames no file that is held open. Under the lock, no other import looks for
  // leftovers while these are not held.
  LetGo();
  PairReplacement replacement(file_system_);
  const ReplacementOutcome outcome = replacement.Run(replaced);
  if (!outcome.replaced) {
    // Unrestored, a staging name may hold a previous host file: it stays.
    if (outcome.restored) Abandon();
    settled_ = true;
    throw HostFileError(outcome.message);
  }
  settled_ = true;
  replacement.RemovePrevious();
}

void HostFileTransaction::LetGo() noexcept {
  for (Staged& file : files_) {
    if (file.held != kNoHandle) file_system_.Release(file.held);
    file.held = kNoHandle;
  }
}

void HostFileTransaction::Abandon() noexcept {
  // Let go first: Windows removes no file that is held open, even by its remover.
  LetGo();
  for (Staged& file : files_) {
    try {
      if (!file.path.empty()) file_system_.Remove(file.path);  // a failure leaves it to the next import
    } catch (...) {
      // no memory for the reason of a failure: the next import removes the file
    }
    file.path.clear();
  }
}

}  // namespace dorvan_marker
