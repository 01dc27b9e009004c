// SPDX-License-Identifier: MIT
#include "hostfiles/printf_file.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "dorvan_marker/error.hpp"
#include "platform/decimal_digits.hpp"

namespace dorvan_marker {
char* FormatText::Put(char* p, int value) {
  if (value < 0) *p++ = '-';
  const auto magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  return decimal_digits::PutDigits(p, magnitude);
}

// "%f" of value: exactly the bytes of std::to_chars(value, fixed, 6).
char* FormatText::Put(char* p, double value) {
  // Most values are small: their millionths, rounded to the nearest, are an integer that
  // is quick to write. The product below is rounded, but the true millionths lie within
  // half a unit in its last place, so the product's fraction decides the rounding unless
  // it is exactly one half; that case (and large values, infinities and NaN) go the
  // general way.
  const double magnitude = std::fabs(value);
  if (magnitude < 1e9) {
    const double scaled = magnitude * 1e6;
    // Signed: below 2^63, and a signed conversion is one instruction where an unsigned one
    // is several.
    const auto whole = static_cast<std::int64_t>(scaled);                   // floor: scaled >= 0
    const double above_half = (scaled - static_cast<double>(whole)) - 0.5;  // exact: scaled's unit is below 1/8
    if (above_half != 0.0) {
      const auto millionths = static_cast<std::uint64_t>(whole) + (above_half > 0.0 ? 1u : 0u);
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

FormatText::FormatText(std::string_view format) {
  // Directives are known to fit their arguments (FormatFor): only where they stand matters.
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    const char next = c == '%' && i + 1 < format.size() ? format[i + 1] : '\0';
    if (c != '%' || next == '%') {
      if (c == '\n') text_ += '\r';
      text_ += c;
      i += c == '%' ? 1 : 0;
      continue;
    }
    i += next == 'l' ? 2 : 1;
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
  }
  text_size_ = text_.size();
  text_.append(kCopyStep, '\0');
}

CPrintfFile::CPrintfFile(WritableFile file) : file_(std::move(file)), buffer_(new char[kBufferSize]) {}

void CPrintfFile::WriteDirect(std::string_view bytes) {
  if (!failure_.empty()) return;  // the file is lost already: a full disk is not tried again
  FileOutcome written = file_.file_system->Write(file_.handle, bytes.data(), bytes.size());
  if (!written.Ok()) failure_ = written.reason.empty() ? "cannot write" : std::move(written.reason);
}

void CPrintfFile::Flush() {
  if (used_ != 0) WriteDirect(std::string_view(buffer_.get(), used_));
  used_ = 0;
}

void CPrintfFile::Finish() {
  Flush();
  if (!failure_.empty()) throw HostFileError("cannot write " + file_.path + ": " + failure_);
}

}  // namespace dorvan_marker
