// SPDX-License-Identifier: MIT
#include "hostfiles/printf_file.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "dorvan_marker/error.hpp"
#include "hostfiles/decimal_digits.hpp"

namespace dorvan_marker {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;  // large enough that writes are few

[[noreturn]] void BadFormat(std::string_view format, std::string_view why) {
  throw InvalidArgumentError("format \"" + std::string(format) + "\": " + std::string(why));
}

}  // namespace

// A directive that does not take the argument it was given.
[[noreturn]] void printf_detail::BadDirective(char directive, std::string_view format) {
  switch (directive) {
    case 's':
      BadFormat(format, "%s takes a text");
    case 'd':
      BadFormat(format, "%d takes an int");
    case 'f':
      BadFormat(format, "%f takes a double");
    default:
      BadFormat(format, "only %s, %d, %f, %lf and %% are known");
  }
}

// The widest "%f" of a double: 309 integer digits, a sign, a point and six decimals.
constexpr std::size_t kFixed6Room = printf_detail::kNumberRoom;

char* printf_detail::PutFixed6(char* p, double value) {
  // Most values are small: their millionths, rounded to the nearest, are an integer that
  // is quick to write. The product below is rounded, but the true millionths lie within
  // half a unit in its last place, so the product's fraction decides the rounding unless
  // it is exactly one half; that case (and large values, infinities and NaN) go the
  // general way.
  const double magnitude = std::fabs(value);
  if (magnitude < 1e9) {
    const double scaled = magnitude * 1e6;
    const auto whole = static_cast<std::int64_t>(scaled);                   // floor: scaled >= 0
    const double above_half = (scaled - static_cast<double>(whole)) - 0.5;  // exact: scaled's unit is below 1/8
    if (above_half != 0.0) {
      const auto millionths = static_cast<std::uint64_t>(whole) + (above_half > 0.0 ? 1u : 0u);
      if (std::signbit(value)) *p++ = '-';
      p = decimal_digits::PutDigits(p, static_cast<std::uint32_t>(millionths / 1000000u));  // at most 10^9
      const auto fraction = static_cast<std::uint32_t>(millionths % 1000000u);
      const std::uint32_t high = fraction / 10000;
      const std::uint32_t rest = fraction - high * 10000;
      p[0] = '.';
      std::memcpy(p + 1, decimal_digits::kPairs + 2 * high, 2);
      std::memcpy(p + 3, decimal_digits::kPairs + 2 * (rest / 100), 2);
      std::memcpy(p + 5, decimal_digits::kPairs + 2 * (rest % 100), 2);
      return p + 7;
    }
  }
  return std::to_chars(p, p + kFixed6Room, value, std::chars_format::fixed, 6).ptr;
}

namespace {

using printf_detail::PutFixed6;

// Copies text to p, every line feed as CR LF when crlf is set; returns the end.
char* PutText(char* p, std::string_view text, bool crlf) {
  if (!crlf) return printf_detail::PutBytes(p, text);
  for (char c : text) {
    if (c == '\n') *p++ = '\r';
    *p++ = c;
  }
  return p;
}

}  // namespace

namespace printf_detail {

char* PutArgument(char* p, char directive, std::string_view text, std::string_view format) {
  if (directive != 's') BadDirective(directive, format);
  return PutText(p, text, true);
}

char* PutArgument(char* p, char directive, double value, std::string_view format) {
  if (directive != 'f') BadDirective(directive, format);
  return PutFixed6(p, value);
}

}  // namespace printf_detail

namespace {

// Writes one argument for its directive at p; a directive that does not match its
// argument is a fault of the caller's format.
char* PutArgument(char* p, char directive, const PrintfArg& arg, std::string_view format, bool crlf) {
  switch (directive) {
    case 's':
      if (!std::holds_alternative<std::string_view>(arg)) BadFormat(format, "%s takes a text");
      return PutText(p, std::get<std::string_view>(arg), crlf);
    case 'd':
      if (!std::holds_alternative<int>(arg)) BadFormat(format, "%d takes an int");
      return std::to_chars(p, p + kFixed6Room, std::get<int>(arg)).ptr;
    case 'f':
      if (!std::holds_alternative<double>(arg)) BadFormat(format, "%f takes a double");
      return PutFixed6(p, std::get<double>(arg));
    default:
      printf_detail::BadDirective(directive, format);
  }
}

// Bytes that formatting can take at most.
std::size_t FormattedBound(std::string_view format, std::initializer_list<PrintfArg> args) {
  std::size_t bound = 2 * format.size();
  for (const PrintfArg& arg : args) {
    bound += std::holds_alternative<std::string_view>(arg) ? 2 * std::get<std::string_view>(arg).size()
                                                           : kFixed6Room;
  }
  return bound;
}

// Formats at p, which has FormattedBound bytes of room; returns the end.
char* PutPrintf(char* p, std::string_view format, std::initializer_list<PrintfArg> args, bool crlf) {
  auto next = args.begin();
  const char* f = format.data();
  const char* const end = f + format.size();
  while (f != end) {
    const char c = *f++;
    if (c != '%') {
      if (c == '\n' && crlf) *p++ = '\r';
      *p++ = c;
      continue;
    }
    char directive = f != end ? *f++ : '\0';
    if (directive == '%') {
      *p++ = '%';
      continue;
    }
    if (next == args.end()) BadFormat(format, "more directives than arguments");
    const PrintfArg& arg = *next++;
    if (directive == 'l' && f != end && *f == 'f') directive = *f++;
    p = PutArgument(p, directive, arg, format, crlf);
  }
  if (next != args.end()) BadFormat(format, "more arguments than directives");
  return p;
}

}  // namespace

void AppendFixed6(std::string& out, double value) {
  char buffer[kFixed6Room];
  out.append(buffer, PutFixed6(buffer, value));
}

std::string FormatPrintf(std::string_view format, std::initializer_list<PrintfArg> args) {
  std::string out;
  AppendPrintf(out, format, args);
  return out;
}

void AppendPrintf(std::string& out, std::string_view format, std::initializer_list<PrintfArg> args) {
  AppendPrintf(out, format, args, false);
}

void AppendPrintf(std::string& out, std::string_view format, std::initializer_list<PrintfArg> args, bool crlf) {
  // A line of the host files fits on the stack; a format error appends nothing.
  const std::size_t bound = FormattedBound(format, args);
  char line[4096];
  if (bound <= sizeof line) {
    out.append(line, PutPrintf(line, format, args, crlf));
    return;
  }
  std::string text(bound, '\0');
  text.resize(static_cast<std::size_t>(PutPrintf(text.data(), format, args, crlf) - text.data()));
  out += text;
}

CPrintfFile::~CPrintfFile() {
  if (file_ != kNoHandle) file_system_->Close(file_);
}

bool CPrintfFile::Open(const std::string& path) {
  if (file_ != kNoHandle) file_system_->Close(file_);
  file_ = kNoHandle;
  path_ = path;
  if (buffer_ == nullptr) {
    buffer_.reset(new char[kBufferSize]);
    capacity_ = kBufferSize;
  }
  used_ = 0;
  failure_.clear();
  // Bytes as they stand: the CR LF line ends are written by Write itself, the same on
  // every system. The file's own buffer is the only one: each full buffer reaches the
  // system in one write.
  file_system_ = &CurrentFileSystem();
  if (file_system_->OpenForWriting(path, file_).Ok()) return true;
  file_ = kNoHandle;
  return false;
}

char* CPrintfFile::RoomAfterFlush(std::size_t bound) {
  if (file_ == kNoHandle) throw HostFileError("cannot write " + path_ + ": the file is not open");
  if (bound > capacity_ - used_) Flush();
  return bound <= capacity_ ? buffer_.get() + used_ : nullptr;
}

PrintfFormat::PrintfFormat(std::string_view format) : text_(format) {
  Run run;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%') {
      if (c == '\n') run.literal += '\r';
      run.literal += c;
      continue;
    }
    const char next = i + 1 < format.size() ? format[++i] : '\0';
    if (next == '%') {
      run.literal += '%';
      continue;
    }
    if (next == 'l' && i + 1 < format.size() && format[i + 1] == 'f') {
      run.directive = 'f';
      ++i;
    } else {
      run.directive = (next == 's' || next == 'd' || next == 'f') ? next : '?';
    }
    literal_size_ += run.literal.size();
    runs_.push_back(std::move(run));
    run = Run();
  }
  literal_size_ += run.literal.size();
  runs_.push_back(std::move(run));
}

void PrintfFormat::RequireArguments(std::size_t arguments) const {
  if (arguments + 1 < runs_.size()) BadFormat(text_, "more directives than arguments");
  if (arguments + 1 > runs_.size()) BadFormat(text_, "more arguments than directives");
}

const PrintfFormat& CPrintfFile::Compiled(std::string_view format) {
  if (last_format_ < formats_.size() && formats_[last_format_]->Text() == format) return *formats_[last_format_];
  for (std::size_t i = 0; i < formats_.size(); ++i) {
    if (formats_[i]->Text() == format) {
      last_format_ = i;
      return *formats_[i];
    }
  }
  formats_.push_back(std::make_unique<PrintfFormat>(format));
  last_format_ = formats_.size() - 1;
  return *formats_.back();
}

void CPrintfFile::WriteDirect(std::string_view bytes) {
  if (!failure_.empty()) return;  // the file is lost already: a full disk is not tried again
  FileOutcome written = file_system_->Write(file_, bytes.data(), bytes.size());
  if (!written.Ok()) failure_ = written.reason.empty() ? "cannot write" : std::move(written.reason);
}

void CPrintfFile::Write(std::string_view text) { Printf("%s", text); }

void CPrintfFile::PutFormatted(std::string_view bytes) {
  char* p = Room(bytes.size());
  if (p == nullptr) {
    WriteDirect(bytes);
    return;
  }
  if (!bytes.empty()) std::memcpy(p, bytes.data(), bytes.size());
  used_ += bytes.size();
}

void CPrintfFile::Flush() {
  if (used_ != 0) WriteDirect(std::string_view(buffer_.get(), used_));
  used_ = 0;
}

void CPrintfFile::Close() {
  if (file_ == kNoHandle) return;
  Flush();
  FileOutcome closed = file_system_->Close(file_);
  file_ = kNoHandle;
  if (failure_.empty() && !closed.Ok()) failure_ = closed.reason.empty() ? "cannot close" : std::move(closed.reason);
  if (!failure_.empty()) throw HostFileError("cannot write " + path_ + ": " + failure_);
}

}  // namespace dorvan_marker
