// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "dorvan_marker/path_encoding.hpp"

namespace dorvan_marker {

// An open file, or a folder's lock, as the operating system knows it: a descriptor on
// POSIX, a HANDLE on Windows.
using SystemHandle = std::intptr_t;
constexpr SystemHandle kNoHandle = -1;

// How one file operation ended.
struct FileOutcome {
  enum class Kind {
    Done,         // it was done
    Failed,       // the system refused; reason says why
    Busy,         // another program has the file open and the system refuses while it does
    Exists,       // the name is taken
    Unsupported,  // the file system cannot do this (an exchange of two names)
    TimedOut,     // the folder's lock was not had in time
  };

  Kind kind = Kind::Done;
  std::string reason;  // the system's words, empty when Done

  bool Ok() const noexcept { return kind == Kind::Done; }
  static FileOutcome Failure(Kind kind, std::string reason) { return {kind, std::move(reason)}; }
};

// What stands at a path.
enum class PathKind {
  Absent,        // nothing
  File,          // a file that may be replaced
  ReadOnlyFile,  // a file its owner marked read-only
  Folder,        // a folder
};

// Everything the host files ask of the operating system, in one place, so that a test can
// put another in its place: one that fails the k-th operation, or that cannot exchange
// names. The host files are written through the current one (CurrentFileSystem).
//
// Paths are narrow, written as the file system was chosen for (CurrentFileSystem). No
// operation throws; each reports how it
// ended. Safe to call from several threads at once.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Creates path, which must not exist (Exists when it does), and holds it open for
  // writing by Write until Close: RemoveUnheld, from any thread or process, leaves it alone
  // meanwhile, and on Windows no other program can open it.
  virtual FileOutcome CreateHeld(const std::string& path, SystemHandle& held) = 0;
  // Writes all size bytes, or reports why not (a full disk, a file-size limit).
  virtual FileOutcome Write(SystemHandle file, const char* bytes, std::size_t size) = 0;
  // Closes; a failure means that the bytes may not all have reached the file.
  virtual FileOutcome Close(SystemHandle file) = 0;

  // Gives the file at from the name to, where nothing is; Busy while another program
  // holds from open (on Windows).
  virtual FileOutcome Rename(const std::string& from, const std::string& to) = 0;
  // Swaps the files at a and b in one step; Unsupported where the system cannot.
  virtual FileOutcome Exchange(const std::string& a, const std::string& b) = 0;
  // Removes the file at path; Done when there is none.
  virtual FileOutcome Remove(const std::string& path) = 0;
  // Removes the file at path unless it is held (Busy then); Done when there is none.
  virtual FileOutcome RemoveUnheld(const std::string& path) = 0;

  virtual FileOutcome Inspect(const std::string& path, PathKind& kind) = 0;
  // The names in folder, without "." and "..".
  virtual FileOutcome ListFolder(const std::string& folder, std::vector<std::string>& names) = 0;

  // A text that is the same for every spelling of one folder and differs between folders.
  virtual FileOutcome FolderIdentity(const std::string& folder, std::string& identity) = 0;
  // Waits up to timeout_ms to be the only holder of the folder's lock, among threads and
  // processes alike (TimedOut when another held it all that time). Leaves nothing in the
  // folder. identity is FolderIdentity's of folder.
  virtual FileOutcome LockFolder(const std::string& folder, const std::string& identity, int timeout_ms,
                                 SystemHandle& lock) = 0;
  virtual void UnlockFolder(SystemHandle lock) = 0;

  // Waits before another try of an operation that found the file busy.
  virtual void Pause(int milliseconds) = 0;

  // How the paths given to this file system are written.
  virtual PathEncoding Paths() const noexcept { return PathEncoding::System; }
};

// A file open for writing, and what it is written through: the file system that opened it,
// its handle and its path (for messages).
struct WritableFile {
  FileSystem* file_system = nullptr;
  SystemHandle handle = kNoHandle;
  std::string path;
};

// The file system host files are written through: the operating system's, reading paths
// written as paths says, unless a test put another in its place.
FileSystem& CurrentFileSystem(PathEncoding paths = PathEncoding::System) noexcept;

// Puts file_system in place of the current one, process-wide; nullptr gives the operating
// system's back. For tests: never while an import runs.
void UseFileSystem(FileSystem* file_system) noexcept;

}  // namespace dorvan_marker
