// SPDX-License-Identifier: MIT
#include "replacement/replacement_transaction.hpp"

#include <vector>

#include "dorvan_marker/error.hpp"
#include "replacement/leftover_files.hpp"
#include "replacement/pair_replacement.hpp"
#include "replacement/replacement_lock.hpp"
#include "replacement/staging_names.hpp"

namespace dorvan_marker {
namespace {

constexpr int kStagingAttempts = 8;  // names taken already, by a chance beyond belief

// Whether there is a previous target, and that it may be replaced: a file the user marked
// read-only is not ours to replace.
bool HasPrevious(FileSystem& file_system, const std::string& target) {
  PathKind kind = PathKind::Absent;
  const FileOutcome inspected = file_system.Inspect(target, kind);
  if (!inspected.Ok()) throw HostFileError("cannot replace " + target + ": " + inspected.reason);
  if (kind == PathKind::Folder) throw HostFileError(target + " is a folder");
  if (kind == PathKind::ReadOnlyFile) throw HostFileError(target + " is read-only");
  return kind == PathKind::File;
}

}  // namespace

ReplacementTransaction::ReplacementTransaction(const std::vector<std::string>& targets, PathEncoding paths)
    : file_system_(CurrentFileSystem(paths)) {
  files_.reserve(targets.size());
  try {
    for (const std::string& target : targets) {
      files_.push_back({target, {}, {}, kNoHandle});
      Stage(files_.back());
    }
  } catch (...) {
    Abandon();
    throw;
  }
}

ReplacementTransaction::~ReplacementTransaction() {
  if (!settled_) Abandon();
}

WritableFile ReplacementTransaction::Staged(std::size_t i) const {
  const StagedFile& file = files_.at(i);
  return {&file_system_, file.held, file.path};
}

void ReplacementTransaction::Stage(StagedFile& file) {
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

void ReplacementTransaction::Commit() {
  std::vector<std::string> targets;
  std::vector<std::string> staged;
  for (const StagedFile& file : files_) {
    targets.push_back(file.target);
    staged.push_back(file.path);
  }
  const ReplacementLock lock(file_system_, targets);
  RemoveLeftovers(file_system_, targets, staged);
  std::vector<ReplacedFile> replaced;
  for (const StagedFile& file : files_) {
    replaced.push_back(
        {file.target, file.path, OldFileName(file.target, file.token), HasPrevious(file_system_, file.target)});
  }
  // Windows renames no file that is held open. Under the lock, no other transaction looks
  // for leftovers while these are not held.
  CloseStaged();
  PairReplacement replacement(file_system_);
  const ReplacementOutcome outcome = replacement.Run(replaced);
  if (!outcome.replaced) {
    // Unrestored, a staging name may hold a previous file: it stays.
    if (outcome.restored) Abandon();
    settled_ = true;
    throw HostFileError(outcome.message);
  }
  settled_ = true;
  replacement.RemovePrevious();
}

void ReplacementTransaction::CloseStaged() {
  std::string failure;
  for (StagedFile& file : files_) {
    const FileOutcome closed = file_system_.Close(file.held);
    file.held = kNoHandle;
    if (!closed.Ok() && failure.empty()) {
      failure = "cannot write " + file.path + ": " + (closed.reason.empty() ? "cannot close" : closed.reason);
    }
  }
  // Some bytes may not have reached the file: it must not replace a complete one.
  if (!failure.empty()) throw HostFileError(failure);
}

void ReplacementTransaction::LetGo() noexcept {
  for (StagedFile& file : files_) {
    try {
      if (file.held != kNoHandle) file_system_.Close(file.held);
    } catch (...) {
      // no memory for the reason of a failure: the handle is let go all the same
    }
    file.held = kNoHandle;
  }
}

void ReplacementTransaction::Abandon() noexcept {
  // Let go first: Windows removes no file that is held open, even by its remover.
  LetGo();
  for (StagedFile& file : files_) {
    try {
      if (!file.path.empty()) file_system_.Remove(file.path);  // a failure leaves it to the next transaction
    } catch (...) {
      // no memory for the reason of a failure: the next transaction removes the file
    }
    file.path.clear();
  }
}

}  // namespace dorvan_marker
