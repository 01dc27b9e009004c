// SPDX-License-Identifier: MIT
#pragma once

#include "platform/file_system.hpp"

namespace dorvan_marker {

// The operating system's file system.
//
// POSIX: a held file carries an flock lock, which RemoveUnheld tries without waiting; a
// folder's lock is an flock lock on the folder itself, which serialises threads as well as
// processes because every lock opens the folder anew. Exchange is renameat2's
// RENAME_EXCHANGE on Linux and Unsupported elsewhere.
//
// Windows: a held file is open without sharing, so that DeleteFile fails on it; a
// folder's lock is a named mutex in the session's "Local\" namespace named after the
// folder's volume serial number and file index, which every spelling of the folder shares.
// A refusal because another program has the file open (a sharing or lock violation, or
// access denied) is Busy. Exchange is Unsupported. Every file is named by its UTF-16 name,
// read from the narrow path as paths says.
class NativeFileSystem : public FileSystem {
 public:
  explicit NativeFileSystem(PathEncoding paths = PathEncoding::System) : paths_(paths) {}

  FileOutcome CreateHeld(const std::string& path, SystemHandle& held) override;
  FileOutcome Write(SystemHandle file, const char* bytes, std::size_t size) override;
  FileOutcome Close(SystemHandle file) override;
  FileOutcome Rename(const std::string& from, const std::string& to) override;
  FileOutcome Exchange(const std::string& a, const std::string& b) override;
  FileOutcome Remove(const std::string& path) override;
  FileOutcome RemoveUnheld(const std::string& path) override;
  FileOutcome Inspect(const std::string& path, PathKind& kind) override;
  FileOutcome ListFolder(const std::string& folder, std::vector<std::string>& names) override;
  FileOutcome FolderIdentity(const std::string& folder, std::string& identity) override;
  FileOutcome LockFolder(const std::string& folder, const std::string& identity, int timeout_ms,
                         SystemHandle& lock) override;
  void UnlockFolder(SystemHandle lock) override;
  void Pause(int milliseconds) override;
  PathEncoding Paths() const noexcept override { return paths_; }

 private:
  PathEncoding paths_;
};

}  // namespace dorvan_marker
