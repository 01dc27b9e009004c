// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/file_system.hpp"

namespace dorvan_marker {

namespace printf_check {

// The directive that takes an argument of type T: 's' for a text, 'd' for an int, 'f' for
// a double; '\0' for any other type, which no directive takes. No conversion between the
// three: an int is never printed by "%f", nor a double cut to fit "%d".
template <typename T>
constexpr char KindOf() {
  using U = std::remove_cvref_t<std::decay_t<T>>;
  if constexpr (std::is_same_v<U, int>) return 'd';
  if constexpr (std::is_same_v<U, double>) return 'f';
  if constexpr (std::is_convertible_v<const U&, std::string_view>) return 's';
  return '\0';
}

// Called only where a format does not fit its arguments: being no constexpr function, each
// makes the check below fail to compile, and the compiler's message names it.
void DirectiveDoesNotMatchItsArgument();
void FormatHasMoreDirectivesThanArguments();
void FormatHasMoreArgumentsThanDirectives();
void FormatHasAnUnknownDirective();

// Checks, while compiling, that the directives of format take the kinds of argument given
// in order: "%s", "%d", "%f" or "%lf" each take the next argument; "%%" takes none.
consteval void Check(std::string_view format, std::initializer_list<char> kinds) {
  const char* kind = kinds.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    char directive = ++i < format.size() ? format[i] : '\0';
    if (directive == '%') continue;
    if (directive == 'l' && i + 1 < format.size() && format[i + 1] == 'f') directive = format[++i];
    if (directive != 's' && directive != 'd' && directive != 'f') FormatHasAnUnknownDirective();
    if (kind == kinds.end()) FormatHasMoreDirectivesThanArguments();
    if (*kind++ != directive) DirectiveDoesNotMatchItsArgument();
  }
  if (kind != kinds.end()) FormatHasMoreArgumentsThanDirectives();
}

}  // namespace printf_check

// A format string checked against the types of its arguments while the code is compiled:
// a directive that does not take its argument is a compile error, not a fault found in a
// user's import. Made from a string literal only.
template <typename... Args>
class FormatFor {
 public:
  template <std::size_t N>
  consteval FormatFor(const char (&format)[N])  // NOLINT: implicit, as a literal is written
      : text_(format, N - 1) {
    printf_check::Check(text_, {printf_check::KindOf<Args>()...});
  }
  constexpr std::string_view Text() const noexcept { return text_; }

 private:
  std::string_view text_;
};

// A format's text read once into the host's form (every line feed already CR LF), cut at
// its directives. What is the same for every PrintfFormat, whatever its arguments.
class FormatText {
 public:
  explicit FormatText(std::string_view format);

  // The most bytes that the text around the directives takes in a line: its own, and the
  // room that copying it eight bytes at a time may write beyond (overwritten by what
  // follows, never kept).
  std::size_t TextRoom() const noexcept { return text_size_ + kCopyStep; }

  // Writes the text before directive k at p; the last text (PutTail) follows the last
  // directive.
  char* PutTextBefore(char* p, std::size_t k) const {
    return PutBytes(p, text_.data() + (k == 0 ? 0 : ends_[k - 1]), text_.data() + ends_[k]);
  }
  char* PutTail(char* p) const {
    return PutBytes(p, text_.data() + (ends_.empty() ? 0 : ends_.back()), text_.data() + text_size_);
  }

  // An argument in the host's form: a text with every line feed as CR LF; an int; a double
  // as "%f" (six digits after a point, a minus when negative, the correctly rounded
  // decimal of the double's exact value).
  static char* Put(char* p, std::string_view text) {
    const char* c = text.data();
    const char* const end = c + text.size();
    // Eight bytes at a time while they hold no line feed, as names and sizes seldom do.
    for (std::uint64_t word = 0; end - c >= 8; c += 8, p += 8) {
      std::memcpy(&word, c, 8);
      const std::uint64_t x = word ^ 0x0a0a0a0a0a0a0a0aull;  // a zero byte where a line feed was
      if (((x - 0x0101010101010101ull) & ~x & 0x8080808080808080ull) != 0) break;
      std::memcpy(p, &word, 8);
    }
    for (; c != end; ++c) {
      if (*c == '\n') *p++ = '\r';
      *p++ = *c;
    }
    return p;
  }
  static char* Put(char* p, int value);
  static char* Put(char* p, double value);

  // The most bytes an argument takes: every line feed of a text becomes CR LF; the
  // widest "%f" has 309 integer digits.
  static std::size_t Room(std::string_view text) noexcept { return 2 * text.size(); }
  static constexpr std::size_t Room(int) noexcept { return kNumberRoom; }
  static constexpr std::size_t Room(double) noexcept { return kNumberRoom; }
  static constexpr std::size_t kNumberRoom = 400;

 private:
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

  std::string text_;                 // every text between directives, one after another, then kCopyStep zeros
  std::size_t text_size_ = 0;        // without the zeros
  std::vector<std::uint32_t> ends_;  // where the text before each directive ends in text_
};

// A format of CPrintfFile::Printf for arguments of the types Args, checked while compiling
// and read once: a writer keeps the formats of the lines it writes thousands of times.
template <typename... Args>
class PrintfFormat : public FormatText {
 public:
  PrintfFormat(FormatFor<Args...> format)  // NOLINT: implicit, from a literal
      : FormatText(format.Text()) {}
};

// A host file written in the host's form: every line ended by CR LF on every system,
// written by Printf itself, through a file that someone else opened and closes (the
// transaction that stages it). Write failures raise HostFileError at Finish.
class CPrintfFile {
 public:
  explicit CPrintfFile(WritableFile file);
  CPrintfFile(const CPrintfFile&) = delete;
  CPrintfFile& operator=(const CPrintfFile&) = delete;

  // Formats and writes: "%s" of a text (std::string, std::string_view, const char*), "%d"
  // of an int, "%f" and "%lf" of a double, and "%%"; the types are checked while
  // compiling. Every "\n", of the format and of the texts alike, is written as CR LF.
  // Always the "C" convention: the process locale is neither read nor changed.
  template <typename... FormatArgs, typename... Args>
  void Printf(const PrintfFormat<FormatArgs...>& format, const Args&... args) {
    static_assert(sizeof...(FormatArgs) == sizeof...(Args), "the format takes another number of arguments");
    static_assert(((printf_check::KindOf<FormatArgs>() == printf_check::KindOf<Args>()) && ...),
                  "an argument does not match its directive");
    const std::size_t bound = format.TextRoom() + (std::size_t{0} + ... + FormatText::Room(Argument(args)));
    if (bound > kBufferSize - used_) {
      Flush();
      if (bound > kBufferSize) {  // a line longer than the whole buffer: written on its own
        std::string line(bound, '\0');
        WriteDirect(std::string_view(line.data(), Put(line.data(), format, args...)));
        return;
      }
    }
    used_ = static_cast<std::size_t>(Put(buffer_.get() + used_, format, args...) - buffer_.get());
  }

  // The same with a format read for this one line.
  template <typename... Args>
  void Printf(FormatFor<std::type_identity_t<Args>...> format, const Args&... args) {
    Printf(PrintfFormat<Args...>(format), args...);
  }

  // Hands every byte to the system; raises HostFileError when a write failed. The file
  // stays open: a write that the system defers can still fail when it is closed.
  void Finish();

 private:
  // Writes the line at p, which has room for it; returns its end.
  template <typename... FormatArgs, typename... Args>
  static char* Put(char* p, const PrintfFormat<FormatArgs...>& format, const Args&... args) {
    std::size_t k = 0;
    ((p = FormatText::Put(format.PutTextBefore(p, k++), Argument(args))), ...);
    return format.PutTail(p);
  }
  static std::string_view Argument(std::string_view text) { return text; }
  static int Argument(int value) { return value; }
  static double Argument(double value) { return value; }

  void Flush();
  void WriteDirect(std::string_view bytes);

  WritableFile file_;
  // [0, used_) waits to be written; large enough that writes are few: each full buffer
  // reaches the system in one write.
  static constexpr std::size_t kBufferSize = 1 << 16;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  std::string failure_;  // why the first write failed; empty while none did
};

}  // namespace dorvan_marker
