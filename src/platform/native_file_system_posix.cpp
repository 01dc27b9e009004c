// SPDX-License-Identifier: MIT
// The operating system's file system on POSIX systems.
#if !defined(_WIN32)
#  include <dirent.h>
#  include <fcntl.h>
#  include <sys/file.h>
#  include <sys/stat.h>
#  include <unistd.h>

#  include <algorithm>
#  include <cerrno>
#  include <chrono>
#  include <cstdio>
#  include <cstring>
#  include <thread>

#  include "platform/native_file_system.hpp"

namespace dorvan_marker {
namespace {

FileOutcome Refused(int error) { return FileOutcome::Failure(FileOutcome::Kind::Failed, std::strerror(error)); }

FileOutcome Refused() { return Refused(errno); }

int Descriptor(SystemHandle handle) { return static_cast<int>(handle); }

// flock, again when a signal cut it short.
int Flock(int fd, int operation) {
  int result = 0;
  do {
    result = flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

FileOutcome NativeFileSystem::CreateHeld(const std::string& path, SystemHandle& held) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0)
    return errno == EEXIST ? FileOutcome::Failure(FileOutcome::Kind::Exists, std::strerror(EEXIST)) : Refused();
  if (Flock(fd, LOCK_EX) != 0) {
    const int error = errno;
    unlink(path.c_str());
    close(fd);
    return Refused(error);
  }
  // Between the creation and the lock, an import clearing its folder may have taken the
  // file for a dead import's and removed it: then the name is no longer this file's.
  struct stat opened {};
  struct stat named {};
  if (fstat(fd, &opened) != 0 || stat(path.c_str(), &named) != 0 || !SameFile(opened, named)) {
    close(fd);
    return FileOutcome::Failure(FileOutcome::Kind::Exists, "removed while it was being created");
  }
  held = fd;
  return {};
}

FileOutcome NativeFileSystem::Write(SystemHandle file, const char* bytes, std::size_t size) {
  while (size != 0) {
    const ssize_t written = write(Descriptor(file), bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return Refused();
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return {};
}

FileOutcome NativeFileSystem::Close(SystemHandle file) {
  // Linux closes the descriptor even when close is interrupted.
  if (close(Descriptor(file)) != 0 && errno != EINTR) return Refused();
  return {};
}

FileOutcome NativeFileSystem::Rename(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0) return Refused();
  return {};
}

FileOutcome NativeFileSystem::Exchange(const std::string& a, const std::string& b) {
#  if defined(__linux__) && defined(RENAME_EXCHANGE)
  if (renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0) return {};
  const int error = errno;
  if (error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP) {
    return FileOutcome::Failure(FileOutcome::Kind::Unsupported, std::strerror(error));
  }
  return Refused(error);
#  else
  (void)a;
  (void)b;
  return FileOutcome::Failure(FileOutcome::Kind::Unsupported, "names cannot be exchanged here");
#  endif
}

FileOutcome NativeFileSystem::Remove(const std::string& path) {
  if (unlink(path.c_str()) != 0 && errno != ENOENT) return Refused();
  return {};
}

FileOutcome NativeFileSystem::RemoveUnheld(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT ? FileOutcome{} : Refused();
  if (Flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    close(fd);
    return error == EWOULDBLOCK ? FileOutcome::Failure(FileOutcome::Kind::Busy, "held by a running import")
                                : Refused(error);
  }
  // Removed while locked, so that its creator, if it is only now taking the lock, finds
  // its name gone and picks another.
  const FileOutcome removed = Remove(path);
  close(fd);
  return removed;
}

FileOutcome NativeFileSystem::Inspect(const std::string& path, PathKind& kind) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    if (errno != ENOENT) return Refused();
    kind = PathKind::Absent;
  } else if (S_ISDIR(info.st_mode)) {
    kind = PathKind::Folder;
  } else {
    kind = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ? PathKind::ReadOnlyFile : PathKind::File;
  }
  return {};
}

FileOutcome NativeFileSystem::ListFolder(const std::string& folder, std::vector<std::string>& names) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return Refused();
  names.clear();
  while (const dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
      names.emplace_back(entry->d_name);
  }
  closedir(dir);
  return {};
}

FileOutcome NativeFileSystem::FolderIdentity(const std::string& folder, std::string& identity) {
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0) return Refused();
  if (!S_ISDIR(info.st_mode)) return Refused(ENOTDIR);
  identity = std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
  return {};
}

FileOutcome NativeFileSystem::LockFolder(const std::string& folder, const std::string& identity, int timeout_ms,
                                         SystemHandle& lock) {
  (void)identity;  // the folder's own descriptor names it
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Refused();
  // flock cannot wait for a limited time: it is tried again, at first soon, since the
  // replacement it waits for takes well under a millisecond.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  auto pause = std::chrono::microseconds(200);
  while (Flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (error != EWOULDBLOCK) {
      close(fd);
      return Refused(error);
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      close(fd);
      return FileOutcome::Failure(FileOutcome::Kind::TimedOut, "another import held it");
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::microseconds(20000));
  }
  lock = fd;
  return {};
}

void NativeFileSystem::UnlockFolder(SystemHandle lock) { close(Descriptor(lock)); }

void NativeFileSystem::Pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

}  // namespace dorvan_marker
#endif
