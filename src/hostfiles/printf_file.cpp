// SPDX-License-Identifier: MIT
#include "hostfiles/printf_file.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "dorvan_marker/error.hpp"
#include "hostfiles/decimal_digits.hpp"
#include "platform/quoted.hpp"

namespace dorvan_marker {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

[[noreturn]] void BadFormat(std::string_view format, std::string_view why) {
  throw InvalidArgumentError("format " + Quoted(format) + ": " + std::string(why));
}

}  // namespace

char* PrintfFormat::PutInt(char* p, int value) {
  if (value < 0) *p++ = '-';
  const auto magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  return decimal_digits::PutDigits(p, magnitude);
}

// "%f" of value: exactly the bytes of std::to_chars(value, fixed, 6).
char* PrintfFormat::PutFixed6(char* p, double value) {
  // Most values are small: their millionths, rounded to the nearest, are an integer that
  // is quick to write. The product below is rounded, but the true millionths lie within
  // half a unit in its last place, so the product's fraction decides the rounding unless
  // it is exactly one half; that case (and large values, infinities and NaN) go the
  // general way.
  const double magnitude = std::fabs(value);
  if (magnitude < 1e9) {
    const double scaled = magnitude * 1e6;
    const auto whole = static_cast<std::uint64_t>(scaled);                  // floor: scaled >= 0
    const double above_half = (scaled - static_cast<double>(whole)) - 0.5;  // exact: scaled's unit is below 1/8
    if (above_half != 0.0) {
      const std::uint64_t millionths = whole + (above_half > 0.0 ? 1u : 0u);
      const auto units = static_cast<std::uint32_t>(millionths / 1000000u);  // below 10^9
      const auto fraction = static_cast<std::uint32_t>(millionths - std::uint64_t{units} * 1000000u);
      if (std::signbit(value)) *p++ = '-';
      p = decimal_digits::PutDigits(p, units);
      const std::uint32_t high = fraction / 10000;
      const std::uint32_t rest = fraction - high * 10000;
      p[0] = '.';
      decimal_digits::PutPair(p + 1, high);
      if (rest == 0) {  // hundredths, as most lengths of a marker are
        std::memcpy(p + 3, "0000", 4);
      } else {
        const std::uint32_t middle = rest / 100;
        decimal_digits::PutPair(p + 3, middle);
        decimal_digits::PutPair(p + 5, rest - middle * 100);
      }
      return p + 7;
    }
  }
  return std::to_chars(p, p + kNumberRoom, value, std::chars_format::fixed, 6).ptr;
}

PrintfFormat::PrintfFormat(std::string_view format) : format_(format) {
  std::string literal;  // the text since the last directive, as written
  auto end_literal = [&] {
    const std::size_t begin = text_.size();
    text_.resize(begin + 2 * literal.size());
    text_.resize(static_cast<std::size_t>(PutText(text_.data() + begin, literal) - text_.data()));
    literal.clear();
  };
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    const char next = c == '%' && i + 1 < format.size() ? format[i + 1] : '\0';
    if (c != '%' || next == '%') {
      literal += c;
      i += c == '%' ? 1 : 0;
      continue;
    }
    ++i;
    end_literal();
    Directive directive;
    directive.text_begin = directives_.empty() ? 0 : directives_.back().text_end;
    directive.text_end = static_cast<std::uint32_t>(text_.size());
    if (next == 'l' && i + 1 < format.size() && format[i + 1] == 'f') {
      directive.kind = 'f';
      ++i;
    } else {
      directive.kind = (next == 's' || next == 'd' || next == 'f') ? next : '?';
    }
    directives_.push_back(directive);
  }
  end_literal();
  text_size_ = text_.size();
  text_.append(kCopyStep, '\0');
}

void PrintfFormat::RequireArguments(std::size_t arguments) const {
  if (arguments < directives_.size()) BadFormat(format_, "more directives than arguments");
  if (arguments > directives_.size()) BadFormat(format_, "more arguments than directives");
}

void PrintfFormat::BadArgument(char kind) const {
  switch (kind) {
    case 's': BadFormat(format_, "%s takes a text");
    case 'd': BadFormat(format_, "%d takes an int");
    case 'f': BadFormat(format_, "%f takes a double");
    default: BadFormat(format_, "only %s, %d, %f, %lf and %% are known");
  }
}

CPrintfFile::~CPrintfFile() {
  if (file_ != kNoHandle) file_system_->Close(file_);
}

bool CPrintfFile::Open(const std::string& path) {
  if (file_ != kNoHandle) file_system_->Close(file_);
  file_ = kNoHandle;
  path_ = path;
  if (buffer_ == nullptr) buffer_.reset(new char[kBufferSize]);
  used_ = 0;
  failure_.clear();
  file_system_ = &CurrentFileSystem();
  if (file_system_->OpenForWriting(path, file_).Ok()) return true;
  file_ = kNoHandle;
  return false;
}

char* CPrintfFile::Room(std::size_t bound) {
  if (file_ == kNoHandle) throw HostFileError("cannot write " + path_ + ": the file is not open");
  if (bound > kBufferSize - used_) Flush();
  return bound <= kBufferSize ? buffer_.get() + used_ : nullptr;
}

void CPrintfFile::Keep(const char* start, const char* end, const std::string& long_text) {
  if (start == long_text.data()) {
    WriteDirect(std::string_view(start, static_cast<std::size_t>(end - start)));
  } else {
    used_ = static_cast<std::size_t>(end - buffer_.get());
  }
}

void CPrintfFile::WriteDirect(std::string_view bytes) {
  if (!failure_.empty()) return;  // the file is lost already: a full disk is not tried again
  FileOutcome written = file_system_->Write(file_, bytes.data(), bytes.size());
  if (!written.Ok()) failure_ = written.reason.empty() ? "cannot write" : std::move(written.reason);
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
