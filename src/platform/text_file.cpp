// SPDX-License-Identifier: MIT
#include "platform/text_file.hpp"

#include <sys/stat.h>

#if defined(_WIN32)
#  include <windows.h>

#  include "platform/native_path.hpp"
#else
#  include <fcntl.h>
#  include <unistd.h>
#endif

#include <cerrno>
#include <cstring>

namespace dorvan_marker {
namespace {

constexpr const char* kAFolder = "a folder";
// Only a regular file is a text file: a pipe would block the caller until someone writes
// to it, and a device such as /dev/zero never ends.
constexpr const char* kNotRegular = "not a regular file";

#if defined(_WIN32)

// The reasons a user can act on, in the words of the system's own messages.
std::string Reason(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH: return "no such file";
    case ERROR_ACCESS_DENIED: return "permission denied";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return "held by another program";
    default: return "Windows error " + std::to_string(error);
  }
}

// Closes a handle when it goes.
class OpenHandle {
 public:
  explicit OpenHandle(HANDLE handle) : handle_(handle) {}
  ~OpenHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  OpenHandle(const OpenHandle&) = delete;
  OpenHandle& operator=(const OpenHandle&) = delete;
  HANDLE get() const noexcept { return handle_; }

 private:
  HANDLE handle_;
};

// Reads the whole regular file at path into text; false, with why, when it is not one,
// sharing forbids the open or a read fails. The file is opened by its UTF-16 name.
bool ReadRegularFile(const std::string& path, FileSharing sharing, PathEncoding paths, std::string& text,
                     std::string& why) {
  std::wstring wide;
  unsigned long error = 0;
  if (!WidePath(path, paths, wide, error)) {
    why = Reason(error);
    return false;
  }
  // A folder cannot be opened as a file at all; its attribute tells it apart first.
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    why = kAFolder;
    return false;
  }
  // No sharing at all, or what the C runtime's fopen allows: others may read and write.
  const DWORD share = sharing == FileSharing::kNone ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
  const OpenHandle file(
      CreateFileW(wide.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    why = Reason(GetLastError());
    return false;
  }
  LARGE_INTEGER size{};
  if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size)) {
    why = kNotRegular;
    return false;
  }
  // The size the file has now, read straight into place; a file that grows meanwhile is
  // read on to its end.
  std::size_t filled = 0;
  text.resize(static_cast<std::size_t>(size.QuadPart) + 1);
  for (;;) {
    if (filled == text.size()) text.resize(text.size() + text.size() / 2 + 4096);
    const std::size_t left = text.size() - filled;
    const DWORD part = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
    DWORD got = 0;
    if (!ReadFile(file.get(), text.data() + filled, part, &got, nullptr)) {
      why = Reason(GetLastError());
      return false;
    }
    if (got == 0) break;
    filled += got;
  }
  text.resize(filled);
  return true;
}

#else

// Closes a descriptor when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const noexcept { return fd_; }

 private:
  int fd_;
};

// The reasons a user can act on, in the words of the system's own messages.
std::string Reason(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return "no such file";
    case EACCES:
    case EPERM: return "permission denied";
    default: return std::strerror(error);
  }
}

// Reads the whole regular file at path into text; false, with why, when it is not one or a
// read fails. There are no share modes here: a file is read whatever else has it open,
// and a path is bytes, whatever its encoding.
bool ReadRegularFile(const std::string& path, FileSharing /*sharing*/, PathEncoding /*paths*/, std::string& text,
                     std::string& why) {
  // Opened without blocking, a pipe is told apart at once.
  const Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) {
    why = Reason(errno);
    return false;
  }
  struct stat info {};
  if (fstat(file.get(), &info) != 0) {
    why = Reason(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    why = S_ISDIR(info.st_mode) ? kAFolder : kNotRegular;
    return false;
  }
  // The size the file has now and one byte more, read straight into place: once all the
  // bytes the file had are in and the read came back short, the file has ended, so one
  // read usually takes all. A file that grows meanwhile is read on to its end.
  const auto expected = static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 0);
  std::size_t size = expected + 1;
  text.resize(size);
  std::size_t filled = 0;
  for (;;) {
    const ssize_t got = read(file.get(), text.data() + filled, size - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      why = Reason(errno);
      return false;
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
    if (filled == size) {
      size += size / 2 + 4096;
      text.resize(size);
    } else if (filled >= expected) {
      break;
    }
  }
  text.resize(filled);
  return true;
}

#endif

}  // namespace

bool TextFile::Open(const std::string& path, FileSharing sharing, PathEncoding paths) {
  text_.clear();
  why_.clear();
  position_ = 0;
  line_number_ = 0;
  if (!ReadRegularFile(path, sharing, paths, text_, why_)) {
    text_.clear();
    return false;
  }
  CutAtControlZ();
  return true;
}

void TextFile::OpenText(std::string text) {
  text_ = std::move(text);
  position_ = 0;
  line_number_ = 0;
  CutAtControlZ();
}

void TextFile::CutAtControlZ() {
  const void* eof = std::memchr(text_.data(), 0x1A, text_.size());
  if (eof != nullptr) text_.resize(static_cast<std::size_t>(static_cast<const char*>(eof) - text_.data()));
}

bool TextFile::ReadLine(std::string_view& line) {
  if (position_ >= text_.size()) return false;
  const char* begin = text_.data() + position_;
  const std::size_t left = text_.size() - position_;
  const void* newline = std::memchr(begin, '\n', left);
  std::size_t length = newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - begin) : left;
  position_ += newline ? length + 1 : length;
  if (newline && length > 0 && begin[length - 1] == '\r') --length;
  line = std::string_view(begin, length);
  ++line_number_;
  return true;
}

}  // namespace dorvan_marker
