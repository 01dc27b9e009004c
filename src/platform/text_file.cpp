// SPDX-License-Identifier: MIT
#include "platform/text_file.hpp"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace dorvan_marker {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

}  // namespace

bool TextFile::Open(const std::string& path) {
  text_.clear();
  position_ = 0;
  line_number_ = 0;
  // Only a regular file is a text file: a folder opens on some systems, a pipe would block
  // the caller until someone writes to it, and a device such as /dev/zero never ends.
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  // The size the file has now, read straight into place; a file that grows meanwhile is
  // read on to its end.
  const auto expected = static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 0);
  text_.resize(expected);
  text_.resize(std::fread(text_.data(), 1, expected, file.get()));
  if (text_.size() == expected) {
    char buffer[1 << 16];
    for (;;) {
      const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
      text_.append(buffer, got);
      if (got < sizeof buffer) break;
    }
  }
  if (std::ferror(file.get())) {
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
