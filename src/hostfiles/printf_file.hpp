// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dorvan_marker {

// One argument of CPrintfFile::Printf.
using PrintfArg = std::variant<std::string_view, int, double>;

// Formats format with args: "%s" (text), "%d" (int), "%f" and "%lf" (double: six digits
// after a point, a minus when negative, the correctly rounded decimal of the double's
// exact value) and "%%". Always the "C" convention; the process locale is neither read
// nor changed. A directive that does not match its argument raises InvalidArgumentError.
std::string FormatPrintf(std::string_view format, std::initializer_list<PrintfArg> args);

// FormatPrintf appending to out; with crlf, every line feed (of the format and of the
// texts alike) is appended as CR LF.
void AppendPrintf(std::string& out, std::string_view format, std::initializer_list<PrintfArg> args);
void AppendPrintf(std::string& out, std::string_view format, std::initializer_list<PrintfArg> args, bool crlf);

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
    PrintLine(format, {PrintfArg(args)...});
  }

  // Writes text with every "\n" turned into CR LF.
  void Write(std::string_view text);

  // Flushes and closes; raises HostFileError when anything failed.
  void Close();

  bool IsOpen() const noexcept { return file_ != nullptr; }

 private:
  // A format split once into runs of literal text (line feeds already CR LF), each
  // followed by a directive; a writer uses a handful of formats for thousands of lines.
  struct Format {
    struct Run {
      std::string literal;
      char directive = '\0';  // 's', 'd', 'f', '?' for one that is not known, '\0' after the last
    };
    std::string text;
    std::vector<Run> runs;
    std::size_t literal_size = 0;
  };

  void Flush();
  // Formats straight into the buffer; a format error leaves nothing of the line.
  void PrintLine(std::string_view format, std::initializer_list<PrintfArg> args);
  const Format& Compiled(std::string_view format);
  // Where bound more bytes go, flushing first when the buffer lacks the room; null when
  // bound exceeds the whole buffer.
  char* Room(std::size_t bound);

  std::FILE* file_ = nullptr;
  std::string path_;
  std::string buffer_;    // allocated at Open; [0, used_) waits to be written
  std::size_t used_ = 0;
  bool failed_ = false;
  std::vector<Format> formats_;
  std::size_t last_format_ = 0;
};

}  // namespace dorvan_marker
