// SPDX-License-Identifier: MIT
#include "hostfiles/printf_file.hpp"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "dorvan_marker/error.hpp"

namespace dorvan_marker {
namespace {

constexpr std::size_t kFlushSize = 1 << 20;

[[noreturn]] void BadFormat(std::string_view format, std::string_view why) {
  throw InvalidArgumentError("format \"" + std::string(format) + "\": " + std::string(why));
}

}  // namespace

void AppendFixed6(std::string& out, double value) {
  // Most values are small: their millionths, rounded to the nearest, are an integer that
  // is quick to write. The product below is rounded, but the true millionths lie within
  // half a unit in its last place, so the product's fraction decides the rounding unless
  // it is exactly one half; that case (and large values, infinities and NaN) go the
  // general way.
  const double magnitude = std::fabs(value);
  if (magnitude < 1e9) {
    const double scaled = magnitude * 1e6;
    const double whole = std::floor(scaled);
    const double above_half = (scaled - whole) - 0.5;  // exact: scaled's unit is below 1/8
    if (above_half != 0.0) {
      const auto millionths = static_cast<std::uint64_t>(whole) + (above_half > 0.0 ? 1u : 0u);
      char buffer[32];
      char* end = buffer + sizeof buffer;
      char* p = end;
      std::uint64_t fraction = millionths % 1000000u;
      for (int i = 0; i < 6; ++i, fraction /= 10) *--p = static_cast<char>('0' + fraction % 10);
      *--p = '.';
      std::uint64_t units = millionths / 1000000u;
      do {
        *--p = static_cast<char>('0' + units % 10);
        units /= 10;
      } while (units != 0);
      if (std::signbit(value)) *--p = '-';
      out.append(p, end);
      return;
    }
  }
  // The widest "%f" of a double: 309 integer digits, a sign, a point and six decimals.
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  out.append(buffer, result.ptr);
}

std::string FormatPrintf(std::string_view format, std::initializer_list<PrintfArg> args) {
  std::string out;
  out.reserve(format.size() + 16);
  AppendPrintf(out, format, args);
  return out;
}

void AppendPrintf(std::string& out, std::string_view format, std::initializer_list<PrintfArg> args) {
  auto next = args.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    std::string_view directive = format.substr(i + 1, 2);
    if (!directive.empty() && directive[0] == '%') {
      out += '%';
      ++i;
      continue;
    }
    if (next == args.end()) BadFormat(format, "more directives than arguments");
    const PrintfArg& arg = *next++;
    if (directive.substr(0, 2) == "lf") {
      ++i;
      directive = "f";
    }
    switch (directive.empty() ? '\0' : directive[0]) {
      case 's':
        if (!std::holds_alternative<std::string_view>(arg)) BadFormat(format, "%s takes a text");
        out += std::get<std::string_view>(arg);
        break;
      case 'd':
        if (!std::holds_alternative<int>(arg)) BadFormat(format, "%d takes an int");
      {
        char digits[16];
        const auto written = std::to_chars(digits, digits + sizeof digits, std::get<int>(arg));
        out.append(digits, written.ptr);
        break;
      }
      case 'f':
        if (!std::holds_alternative<double>(arg)) BadFormat(format, "%f takes a double");
        AppendFixed6(out, std::get<double>(arg));
        break;
      default:
        BadFormat(format, "only %s, %d, %f, %lf and %% are known");
    }
    ++i;
  }
  if (next != args.end()) BadFormat(format, "more arguments than directives");
}

CPrintfFile::~CPrintfFile() {
  if (file_ != nullptr) std::fclose(file_);
}

bool CPrintfFile::Open(const std::string& path) {
  if (file_ != nullptr) std::fclose(file_);
  path_ = path;
  buffer_.clear();
  failed_ = false;
  // Binary: the CR LF line ends are written by Write itself, the same on every system.
  file_ = std::fopen(path.c_str(), "wb");
  return file_ != nullptr;
}

void CPrintfFile::Write(std::string_view text) {
  if (file_ == nullptr) throw HostFileError("cannot write " + path_ + ": the file is not open");
  std::size_t start = 0;
  for (std::size_t newline = text.find('\n'); newline != std::string_view::npos;
       newline = text.find('\n', start)) {
    buffer_.append(text.substr(start, newline - start));
    buffer_.append("\r\n");
    start = newline + 1;
  }
  buffer_.append(text.substr(start));
  if (buffer_.size() >= kFlushSize) Flush();
}

void CPrintfFile::Flush() {
  if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
  buffer_.clear();
}

void CPrintfFile::Close() {
  if (file_ == nullptr) return;
  Flush();
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (failed_ || !closed) throw HostFileError("cannot write " + path_ + ": " + std::strerror(errno));
}

}  // namespace dorvan_marker
