// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace dorvan_marker {

// One argument of CPrintfFile::Printf.
using PrintfArg = std::variant<std::string_view, int, double>;

// Formats format with args: "%s" (text), "%d" (int), "%f" and "%lf" (double: six digits
// after a point, a minus when negative, the correctly rounded decimal of the double's
// exact value) and "%%". Always the "C" convention; the process locale is neither read
// nor changed. A directive that does not match its argument raises InvalidArgumentError.
std::string FormatPrintf(std::string_view format, std::initializer_list<PrintfArg> args);

// FormatPrintf appending to out.
void AppendPrintf(std::string& out, std::string_view format, std::initializer_list<PrintfArg> args);

// Appends "%f" of value: exactly the bytes of std::to_chars(value, fixed, 6).
void AppendFixed6(std::string& out, double value);

// A host file: created (or cut to zero length), written in text mode so that every "\n"
// reaches the disk as CR LF, and closed. Write failures raise HostFileError; the
// destructor closes a file that is still open.
class CPrintfFile {
 public:
  CPrintfFile() = default;
  ~CPrintfFile();
  CPrintfFile(const CPrintfFile&) = delete;
  CPrintfFile& operator=(const CPrintfFile&) = delete;

  bool Open(const std::string& path);

  template <typename... Args>
  void Printf(std::string_view format, const Args&... args) {
    line_.clear();  // reused, so that a line costs no allocation
    AppendPrintf(line_, format, {PrintfArg(args)...});
    Write(line_);
  }

  // Writes text with every "\n" turned into CR LF.
  void Write(std::string_view text);

  // Flushes and closes; raises HostFileError when anything failed.
  void Close();

  bool IsOpen() const noexcept { return file_ != nullptr; }

 private:
  void Flush();

  std::FILE* file_ = nullptr;
  std::string path_;
  std::string buffer_;
  std::string line_;
  bool failed_ = false;
};

}  // namespace dorvan_marker
