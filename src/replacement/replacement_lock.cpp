// SPDX-License-Identifier: MIT
#include "replacement/replacement_lock.hpp"

#include <algorithm>
#include <chrono>

#include "dorvan_marker/error.hpp"
#include "replacement/staging_names.hpp"

namespace dorvan_marker {
namespace {

struct LockedFolder {
  std::string identity;
  std::string folder;
  std::string host_file;  // one host file in it, for messages
};

std::vector<LockedFolder> DistinctFolders(FileSystem& file_system, const std::vector<std::string>& host_files) {
  std::vector<LockedFolder> folders;
  for (const std::string& host_file : host_files) {
    LockedFolder entry{{}, PlaceOf(host_file, file_system.Paths()).Folder(), host_file};
    const auto same_spelling = [&](const LockedFolder& seen) { return seen.folder == entry.folder; };
    if (std::any_of(folders.begin(), folders.end(), same_spelling)) continue;
    const FileOutcome known = file_system.FolderIdentity(entry.folder, entry.identity);
    if (!known.Ok()) throw HostFileError("cannot replace " + host_file + ": its folder: " + known.reason);
    folders.push_back(std::move(entry));
  }
  std::sort(folders.begin(), folders.end(), [](const auto& a, const auto& b) { return a.identity < b.identity; });
  folders.erase(std::unique(folders.begin(), folders.end(),
                            [](const auto& a, const auto& b) { return a.identity == b.identity; }),
                folders.end());
  return folders;
}

}  // namespace

ReplacementLock::ReplacementLock(FileSystem& file_system, const std::vector<std::string>& host_files)
    : file_system_(file_system) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
  for (const LockedFolder& folder : DistinctFolders(file_system, host_files)) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    SystemHandle lock = kNoHandle;
    const FileOutcome locked = file_system.LockFolder(folder.folder, folder.identity,
                                                      static_cast<int>(std::max<long long>(left.count(), 0)), lock);
    if (!locked.Ok()) {
      Unlock();
      throw HostFileError(locked.kind == FileOutcome::Kind::TimedOut
                              ? "cannot replace " + folder.host_file +
                                    ": another import into its folder took more than " +
                                    std::to_string(kPatienceMs / 1000) + " s"
                              : "cannot replace " + folder.host_file + ": cannot lock its folder: " + locked.reason);
    }
    locks_.push_back(lock);
  }
}

ReplacementLock::~ReplacementLock() { Unlock(); }

void ReplacementLock::Unlock() noexcept {
  for (auto lock = locks_.rbegin(); lock != locks_.rend(); ++lock) file_system_.UnlockFolder(*lock);
  locks_.clear();
}

}  // namespace dorvan_marker
