// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.hpp"

namespace dorvan_marker {

// A format of CPrintfFile::Printf, read once: its text in the host's form (every line feed
// already CR LF) and its directives, "%s" (a text), "%d" (an int), "%f" and "%lf" (a
// double) and "%%". A writer keeps the formats of the lines it writes thousands of times.
class PrintfFormat {
 public:
  explicit PrintfFormat(std::string_view format);

  const std::string& Text() const noexcept { return format_; }
  std::size_t Directives() const noexcept { return directives_.size(); }
  // The most bytes that the text around the directives takes in a line: its own, and the
  // room that copying it eight bytes at a time may write beyond (overwritten by what
  // follows, never kept).
  std::size_t TextRoom() const noexcept { return text_size_ + kCopyStep; }

  // Writes the text before directive k and the argument of directive k at p; the last
  // text (Tail) follows the last directive. A directive that does not take the argument's
  // type raises InvalidArgumentError.
  char* Put(char* p, std::size_t k, std::string_view text) const { return PutText(PutTextBefore(p, k, 's'), text); }
  char* Put(char* p, std::size_t k, int value) const { return PutInt(PutTextBefore(p, k, 'd'), value); }
  char* Put(char* p, std::size_t k, double value) const { return PutFixed6(PutTextBefore(p, k, 'f'), value); }
  char* PutTail(char* p) const {
    return PutBytes(p, text_.data() + (directives_.empty() ? 0 : directives_.back().text_end),
                    text_.data() + text_size_);
  }

  // Raises InvalidArgumentError unless the format has exactly `arguments` directives.
  void RequireArguments(std::size_t arguments) const;

  // The most bytes an argument takes: every line feed of a text becomes CR LF; the
  // widest "%f" has 309 integer digits.
  static std::size_t Room(std::string_view text) noexcept { return 2 * text.size(); }
  static constexpr std::size_t Room(int) noexcept { return kNumberRoom; }
  static constexpr std::size_t Room(double) noexcept { return kNumberRoom; }
  static constexpr std::size_t kNumberRoom = 400;

 private:
  struct Directive {
    std::uint32_t text_begin = 0;  // the text before it is text_[text_begin, text_end)
    std::uint32_t text_end = 0;
    char kind = '\0';  // 's', 'd', 'f', or '?' for one that is not known
  };
  char* PutTextBefore(char* p, std::size_t k, char kind) const {
    const Directive& directive = directives_[k];
    if (directive.kind != kind) BadArgument(directive.kind);
    return PutBytes(p, text_.data() + directive.text_begin, text_.data() + directive.text_end);
  }
  [[noreturn]] void BadArgument(char kind) const;

  // Most texts between directives are a byte or two: they are copied as one step of
  // kCopyStep bytes, which text_ may be read for (it is padded) and the line has room for
  // (TextRoom).
  static constexpr std::size_t kCopyStep = 8;
  static char* PutBytes(char* p, const char* begin, const char* end) {
    const auto size = static_cast<std::size_t>(end - begin);
    if (size <= kCopyStep) {
      std::memcpy(p, begin, kCopyStep);
    } else {
      std::memcpy(p, begin, size);
    }
    return p + size;
  }
  // A text in the host's form: every line feed, of a format or of an argument, becomes
  // CR LF. Then an int, and a double as "%f".
  static char* PutText(char* p, std::string_view text) {
    for (char c : text) {
      if (c == '\n') *p++ = '\r';
      *p++ = c;
    }
    return p;
  }
  static char* PutInt(char* p, int value);
  static char* PutFixed6(char* p, double value);

  std::string format_;         // as given, for messages
  std::string text_;           // every text between directives, one after another, then kCopyStep zeros
  std::size_t text_size_ = 0;  // without the zeros
  std::vector<Directive> directives_;
};

// A host file: created (or cut to zero length) and written, through the current
// FileSystem, in the host's form: every line ended by CR LF on every system, written by
// Printf itself. Write failures raise HostFileError; the destructor closes a file that is
// still open.
class CPrintfFile {
 public:
  CPrintfFile() = default;
  ~CPrintfFile();
  CPrintfFile(const CPrintfFile&) = delete;
  CPrintfFile& operator=(const CPrintfFile&) = delete;

  // False when the file cannot be created.
  bool Open(const std::string& path);

  // Formats and writes: "%s" of a text (std::string, std::string_view, const char*), "%d"
  // of an int, "%f" and "%lf" of a double (six digits after a point, a minus when negative,
  // the correctly rounded decimal of the double's exact value), and "%%". Every "\n", of
  // the format and of the texts alike, is written as CR LF. Always the "C" convention: the
  // process locale is neither read nor changed. A directive that does not match its
  // argument raises InvalidArgumentError and writes nothing; a file that is not open
  // raises HostFileError.
  template <typename... Args>
  void Printf(const PrintfFormat& format, const Args&... args) {
    format.RequireArguments(sizeof...(Args));
    const std::size_t bound = format.TextRoom() + (std::size_t{0} + ... + PrintfFormat::Room(Argument(args)));
    char* p = Room(bound);
    std::string long_text;  // for a line longer than the whole buffer
    if (p == nullptr) {
      long_text.resize(bound);
      p = long_text.data();
    }
    char* const start = p;
    std::size_t k = 0;
    ((p = format.Put(p, k++, Argument(args))), ...);
    p = format.PutTail(p);
    Keep(start, p, long_text);
  }

  // The same with a format read for this one line.
  template <typename... Args>
  void Printf(std::string_view format, const Args&... args) {
    Printf(PrintfFormat(format), args...);
  }

  // Flushes and closes; raises HostFileError when anything failed.
  void Close();

  bool IsOpen() const noexcept { return file_ != kNoHandle; }

 private:
  static std::string_view Argument(std::string_view text) { return text; }
  static std::string_view Argument(const std::string& text) { return text; }
  static std::string_view Argument(const char* text) { return text; }
  static int Argument(int value) { return value; }
  static double Argument(double value) { return value; }

  // Where bound more bytes go in the buffer, flushing it first when it lacks the room;
  // null when bound exceeds the whole buffer. Raises HostFileError when the file is not open.
  char* Room(std::size_t bound);
  // Takes the bytes [start, end) that Printf wrote, in the buffer or in long_text.
  void Keep(const char* start, const char* end, const std::string& long_text);
  void Flush();
  void WriteDirect(std::string_view bytes);

  FileSystem* file_system_ = nullptr;
  SystemHandle file_ = kNoHandle;
  std::string path_;
  // Allocated at the first Open: [0, used_) waits to be written, large enough that writes
  // are few: each full buffer reaches the system in one write.
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  std::string failure_;  // why the first write failed; empty while none did
};

}  // namespace dorvan_marker
