// SPDX-License-Identifier: MIT
// The operating system's file system on Windows.
#if defined(_WIN32)
#  include <windows.h>

#  include <cstdio>
#  include <optional>

#  include "platform/native_file_system.hpp"
#  include "platform/native_path.hpp"

namespace dorvan_marker {
namespace {

// Every refusal names the system's error number, which a support call can look up.
FileOutcome Failure(FileOutcome::Kind kind, DWORD error) {
  return FileOutcome::Failure(kind, "Windows error " + std::to_string(error));
}

FileOutcome Refused(DWORD error) { return Failure(FileOutcome::Kind::Failed, error); }

FileOutcome Refused() { return Refused(GetLastError()); }

HANDLE Handle(SystemHandle handle) { return reinterpret_cast<HANDLE>(handle); }
SystemHandle Held(HANDLE handle) { return reinterpret_cast<SystemHandle>(handle); }

// Another program has the file open: a virus scanner, an indexer, a backup, the host.
// Access denied counts too, since a read-only file is refused before anything is tried.
bool IsBusy(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

bool IsAbsent(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// path's UTF-16 name; the error of a path that names no file otherwise.
std::optional<std::wstring> Wide(const std::string& path, PathEncoding paths, DWORD& error) {
  std::wstring wide;
  unsigned long why = 0;
  if (WidePath(path, paths, wide, why)) return wide;
  error = why;
  return std::nullopt;
}

}  // namespace

FileOutcome NativeFileSystem::CreateHeld(const std::string& path, SystemHandle& held) {
  // Shared with nobody: no other program can open the file, nor remove or rename it, while
  // it is written through this handle.
  DWORD unnamed = 0;
  const auto name = Wide(path, paths_, unnamed);
  if (!name) return Refused(unnamed);
  const HANDLE file = CreateFileW(name->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
      return Failure(FileOutcome::Kind::Exists, error);
    }
    return Refused(error);
  }
  held = Held(file);
  return {};
}

FileOutcome NativeFileSystem::Write(SystemHandle file, const char* bytes, std::size_t size) {
  while (size != 0) {
    const DWORD part = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(Handle(file), bytes, part, &written, nullptr)) return Refused();
    if (written == 0) return Refused(ERROR_DISK_FULL);
    bytes += written;
    size -= written;
  }
  return {};
}

FileOutcome NativeFileSystem::Close(SystemHandle file) {
  if (!CloseHandle(Handle(file))) return Refused();
  return {};
}

FileOutcome NativeFileSystem::Rename(const std::string& from, const std::string& to) {
  DWORD unnamed = 0;
  const auto wide_from = Wide(from, paths_, unnamed);
  const auto wide_to = wide_from ? Wide(to, paths_, unnamed) : std::nullopt;
  if (!wide_to) return Refused(unnamed);
  if (MoveFileExW(wide_from->c_str(), wide_to->c_str(), 0)) return {};
  const DWORD error = GetLastError();
  if (IsBusy(error)) return Failure(FileOutcome::Kind::Busy, error);
  return Refused(error);
}

FileOutcome NativeFileSystem::Exchange(const std::string&, const std::string&) {
  return FileOutcome::Failure(FileOutcome::Kind::Unsupported, "Windows cannot exchange two names");
}

FileOutcome NativeFileSystem::Remove(const std::string& path) {
  DWORD unnamed = 0;
  const auto name = Wide(path, paths_, unnamed);
  if (!name) return Refused(unnamed);
  if (DeleteFileW(name->c_str()) || IsAbsent(GetLastError())) return {};
  return Refused();
}

FileOutcome NativeFileSystem::RemoveUnheld(const std::string& path) {
  DWORD unnamed = 0;
  const auto name = Wide(path, paths_, unnamed);
  if (!name) return Refused(unnamed);
  if (DeleteFileW(name->c_str())) return {};
  const DWORD error = GetLastError();
  if (IsAbsent(error)) return {};
  if (IsBusy(error)) return Failure(FileOutcome::Kind::Busy, error);
  return Refused(error);
}

FileOutcome NativeFileSystem::Inspect(const std::string& path, PathKind& kind) {
  DWORD unnamed = 0;
  const auto name = Wide(path, paths_, unnamed);
  if (!name) return Refused(unnamed);
  const DWORD attributes = GetFileAttributesW(name->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (!IsAbsent(error)) return Refused(error);
    kind = PathKind::Absent;
  } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    kind = PathKind::Folder;
  } else {
    // By the attribute, not by a failed replacement: Wine replaces a read-only file.
    kind = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? PathKind::ReadOnlyFile : PathKind::File;
  }
  return {};
}

FileOutcome NativeFileSystem::ListFolder(const std::string& folder, std::vector<std::string>& names) {
  DWORD unnamed = 0;
  const auto pattern = Wide(folder + "\\*", paths_, unnamed);
  if (!pattern) return Refused(unnamed);
  WIN32_FIND_DATAW entry{};
  const HANDLE search = FindFirstFileW(pattern->c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return Refused();
  names.clear();
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(NarrowPath(name, paths_));
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return {};
}

FileOutcome NativeFileSystem::FolderIdentity(const std::string& folder, std::string& identity) {
  // Case, short names and trailing dots give one folder many spellings; the volume and the
  // file index are its own.
  DWORD unnamed = 0;
  const auto name = Wide(folder, paths_, unnamed);
  if (!name) return Refused(unnamed);
  const HANDLE opened = CreateFileW(name->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return Refused();
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(opened, &info) != 0;
  const DWORD error = GetLastError();
  CloseHandle(opened);
  if (!known) return Refused(error);
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return Refused(ERROR_DIRECTORY);
  char text[32];
  std::snprintf(text, sizeof text, "%08lx-%08lx%08lx", static_cast<unsigned long>(info.dwVolumeSerialNumber),
                static_cast<unsigned long>(info.nFileIndexHigh), static_cast<unsigned long>(info.nFileIndexLow));
  identity = text;
  return {};
}

FileOutcome NativeFileSystem::LockFolder(const std::string&, const std::string& identity, int timeout_ms,
                                         SystemHandle& lock) {
  // A mutex name may hold no backslash beyond its namespace's.
  const std::string name = "Local\\dorvan_marker-host-files-" + identity;
  const HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  if (mutex == nullptr) return Refused();
  switch (WaitForSingleObject(mutex, static_cast<DWORD>(timeout_ms))) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:  // its holder ended without letting go: the lock is this one's now
      lock = Held(mutex);
      return {};
    case WAIT_TIMEOUT:
      CloseHandle(mutex);
      return FileOutcome::Failure(FileOutcome::Kind::TimedOut, "another import held it");
    default: {
      const DWORD error = GetLastError();
      CloseHandle(mutex);
      return Refused(error);
    }
  }
}

void NativeFileSystem::UnlockFolder(SystemHandle lock) {
  ReleaseMutex(Handle(lock));
  CloseHandle(Handle(lock));
}

void NativeFileSystem::Pause(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

}  // namespace dorvan_marker
#endif
