// SPDX-License-Identifier: MIT
#include "platform/text_file.hpp"

#include <sys/stat.h>

#if defined(_WIN32)
#  include <share.h>
#else
#  include <fcntl.h>
#  include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace dorvan_marker {
namespace {

#if defined(_WIN32)

struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

// Reads the whole regular file at path into text; false when it is not one, sharing
// forbids the open or a read fails.
bool ReadRegularFile(const std::string& path, FileSharing sharing, std::string& text) {
  // Only a regular file is a text file: a folder opens on some systems, a pipe would block
  // the caller until someone writes to it, and a device never ends.
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  // _SH_DENYNO is the share mode fopen uses; _SH_DENYRW opens with no sharing at all.
  const int share_mode = sharing == FileSharing::kNone ? _SH_DENYRW : _SH_DENYNO;
  std::unique_ptr<std::FILE, FileCloser> file(_fsopen(path.c_str(), "rb", share_mode));
  if (!file) return false;
  if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  // The size the file has now, read straight into place; a file that grows meanwhile is
  // read on to its end.
  const auto expected = static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 0);
  text.resize(expected);
  text.resize(std::fread(text.data(), 1, expected, file.get()));
  if (text.size() == expected) {
    char buffer[1 << 16];
    for (;;) {
      const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
      text.append(buffer, got);
      if (got < sizeof buffer) break;
    }
  }
  return !std::ferror(file.get());
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

// Reads the whole regular file at path into text; false when it is not one or a read fails.
// There are no share modes here: a file is read whatever else has it open.
bool ReadRegularFile(const std::string& path, FileSharing /*sharing*/, std::string& text) {
  // Only a regular file is a text file: a pipe would block the caller until someone
  // writes to it (opened without blocking it is told apart at once), a folder is no text,
  // and a device such as /dev/zero never ends.
  const Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) return false;
  struct stat info {};
  if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
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

bool TextFile::Open(const std::string& path, FileSharing sharing) {
  text_.clear();
  position_ = 0;
  line_number_ = 0;
  if (!ReadRegularFile(path, sharing, text_)) {
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
