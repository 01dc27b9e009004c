// SPDX-License-Identifier: MIT
#pragma once

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "hostfiles/decimal_digits.hpp"
#include "platform/file_system.hpp"

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

// A number of hundredths for "%f": printed as the exact decimal value / 100, which is what
// "%f" prints of any double within 10^-7 of that decimal (and not negative when it is 0):
// the nearest points where six decimals round the other way lie 5 x 10^-7 from it. The
// sums and halves of tenths that the placement file prints are such doubles, and
// printing them so needs no floating-point work.
struct Hundredths {
  std::int64_t value = 0;
};

// The bytes a directive writes, exposed for CPrintfFile::Print; each writes at p (which
// has ArgumentRoom bytes of room for the argument) and returns the end. A directive that
// does not take the argument's type raises InvalidArgumentError naming format.
namespace printf_detail {

constexpr std::size_t kNumberRoom = 400;  // the widest "%f" or "%d"

inline std::size_t ArgumentRoom(std::string_view text) { return 2 * text.size(); }
inline std::size_t ArgumentRoom(int) { return kNumberRoom; }
inline std::size_t ArgumentRoom(double) { return kNumberRoom; }
inline std::size_t ArgumentRoom(Hundredths) { return kNumberRoom; }

[[noreturn]] void BadDirective(char directive, std::string_view format);
char* PutArgument(char* p, char directive, std::string_view text, std::string_view format);
char* PutArgument(char* p, char directive, double value, std::string_view format);

inline char* PutArgument(char* p, char directive, int value, std::string_view format) {
  if (directive != 'd') BadDirective(directive, format);
  if (value < 0) *p++ = '-';
  const auto magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  return decimal_digits::PutDigits(p, magnitude);
}

// "%f" of value at p, which has kNumberRoom bytes of room; returns the end.
char* PutFixed6(char* p, double value);

// The widest "%f" of Hundredths: a minus, 17 digits, a point and six decimals.
constexpr std::size_t kHundredthsRoom = 25;

// "%f" of value at p, which has kHundredthsRoom bytes of room; returns the end.
inline char* PutHundredths(char* p, Hundredths value) {
  if (value.value < 0) *p++ = '-';
  const std::uint64_t magnitude = value.value < 0 ? 0 - static_cast<std::uint64_t>(value.value)
                                                  : static_cast<std::uint64_t>(value.value);
  const std::uint64_t units = magnitude / 100;
  p = units < 1000000000u ? decimal_digits::PutDigits(p, static_cast<std::uint32_t>(units))
                          : std::to_chars(p, p + kHundredthsRoom, units).ptr;
  p[0] = '.';
  decimal_digits::PutPair(p + 1, static_cast<std::uint32_t>(magnitude % 100));
  std::memcpy(p + 3, "0000", 4);
  return p + 7;
}

inline char* PutArgument(char* p, char directive, Hundredths value, std::string_view format) {
  if (directive != 'f') BadDirective(directive, format);
  return PutHundredths(p, value);
}

// Copies bytes to p; returns the end. The pieces of a line are a few bytes long, too
// short to be worth a call.
inline char* PutBytes(char* p, std::string_view bytes) {
  if (bytes.size() > 16) {
    std::memcpy(p, bytes.data(), bytes.size());
    return p + bytes.size();
  }
  for (char c : bytes) *p++ = c;
  return p;
}

}  // namespace printf_detail

// A format split once into runs of literal text (line feeds already CR LF), each followed
// by a directive. A writer keeps its few formats and prints thousands of lines with them.
class PrintfFormat {
 public:
  struct Run {
    std::string literal;
    char directive = '\0';  // 's', 'd', 'f', '?' for one that is not known, '\0' after the last
  };

  explicit PrintfFormat(std::string_view format);

  const std::string& Text() const noexcept { return text_; }
  const std::vector<Run>& Runs() const noexcept { return runs_; }
  std::size_t LiteralSize() const noexcept { return literal_size_; }
  // Raises InvalidArgumentError unless the format has exactly `arguments` directives.
  void RequireArguments(std::size_t arguments) const;

 private:
  std::string text_;
  std::vector<Run> runs_;
  std::size_t literal_size_ = 0;
};

// A host file: created (or cut to zero length), written in text mode so that every "\n"
// reaches the disk as CR LF, and closed, all through the current FileSystem. Write
// failures raise HostFileError; the destructor closes a file that is still open.
class CPrintfFile {
 public:
  CPrintfFile() = default;
  ~CPrintfFile();
  CPrintfFile(const CPrintfFile&) = delete;
  CPrintfFile& operator=(const CPrintfFile&) = delete;

  bool Open(const std::string& path);

  // Formats straight into the file's buffer; a format that does not match its arguments
  // raises InvalidArgumentError and leaves nothing of the line. Arguments are texts
  // (std::string, std::string_view, const char*), int and double.
  template <typename... Args>
  void Print(const PrintfFormat& format, const Args&... args) {
    format.RequireArguments(sizeof...(Args));
    const std::size_t bound =
        format.LiteralSize() + (std::size_t{0} + ... + printf_detail::ArgumentRoom(Argument(args)));
    char* p = Room(bound);
    if (p == nullptr) {  // longer than the buffer: formatted apart and written at once
      std::string text(bound, '\0');
      const char* end = PutAll(text.data(), format, Argument(args)...);
      WriteDirect(std::string_view(text.data(), static_cast<std::size_t>(end - text.data())));
      return;
    }
    used_ = static_cast<std::size_t>(PutAll(p, format, Argument(args)...) - buffer_.get());
  }

  // Print with a format that is compiled on first use and kept.
  template <typename... Args>
  void Printf(std::string_view format, const Args&... args) {
    Print(Compiled(format), args...);
  }

  // Lets put (char* -> char*) write at most bound bytes straight into the buffer and keeps
  // what it wrote, up to the end it returns: for a writer with a formatter of its own.
  // False, with nothing written, when bound exceeds the whole buffer.
  template <typename Put>
  bool PutDirect(std::size_t bound, Put&& put) {
    char* p = Room(bound);
    if (p == nullptr) return false;
    used_ = static_cast<std::size_t>(put(p) - buffer_.get());
    return true;
  }

  // Writes text with every "\n" turned into CR LF.
  void Write(std::string_view text);

  // Writes bytes already in the file's form (line ends CR LF, as AppendPrintf with crlf
  // makes them) as they stand.
  void PutFormatted(std::string_view bytes);

  // Flushes and closes; raises HostFileError when anything failed.
  void Close();

  bool IsOpen() const noexcept { return file_ != kNoHandle; }

 private:
  static std::string_view Argument(std::string_view text) { return text; }
  static std::string_view Argument(const std::string& text) { return text; }
  static std::string_view Argument(const char* text) { return text; }
  static int Argument(int value) { return value; }
  static double Argument(double value) { return value; }
  static Hundredths Argument(Hundredths value) { return value; }

  static char* PutLiteral(char* p, const PrintfFormat::Run& run) { return printf_detail::PutBytes(p, run.literal); }
  template <typename... Values>
  static char* PutAll(char* p, const PrintfFormat& format, Values... values) {
    const PrintfFormat::Run* run = format.Runs().data();
    ((p = PutRun(p, *run, values, format.Text()), ++run), ...);
    return PutLiteral(p, *run);
  }
  template <typename Value>
  static char* PutRun(char* p, const PrintfFormat::Run& run, Value value, std::string_view format) {
    return printf_detail::PutArgument(PutLiteral(p, run), run.directive, value, format);
  }

  void Flush();
  // Writes bytes that do not fit the buffer, after what the buffer holds.
  void WriteDirect(std::string_view bytes);
  const PrintfFormat& Compiled(std::string_view format);
  // Where bound more bytes go, flushing first when the buffer lacks the room; null when
  // bound exceeds the whole buffer.
  char* Room(std::size_t bound) {
    // A file that is not open takes the long way, which raises.
    return bound <= capacity_ - used_ && file_ != kNoHandle ? buffer_.get() + used_ : RoomAfterFlush(bound);
  }
  char* RoomAfterFlush(std::size_t bound);

  FileSystem* file_system_ = nullptr;
  SystemHandle file_ = kNoHandle;
  std::string path_;
  // Allocated at the first Open, and not cleared: [0, used_) waits to be written.
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  std::size_t used_ = 0;
  std::string failure_;  // why the first write failed; empty while none did
  std::vector<std::unique_ptr<PrintfFormat>> formats_;  // for Printf, stable addresses
  std::size_t last_format_ = 0;
};

}  // namespace dorvan_marker
