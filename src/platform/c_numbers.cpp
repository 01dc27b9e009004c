// SPDX-License-Identifier: MIT
#include "platform/c_numbers.hpp"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace dorvan_marker {
namespace {

std::size_t SkipSpace(std::string_view text) noexcept {
  std::size_t i = 0;
  // Every white-space character lies at or below the blank.
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ' && IsCSpace(text[i])) ++i;
  return i;
}

bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

char LowerAscii(char c) noexcept { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// When from_chars reports a value out of range, tell overflow from underflow the way
// strtod would: a negative decimal exponent or an all-zero integer part means the value
// was too small.
bool LooksLikeUnderflow(std::string_view number) noexcept {
  const std::size_t e = number.find_first_of("eEpP");
  if (e != std::string_view::npos) {
    std::string_view exponent = number.substr(e + 1);
    if (!exponent.empty() && exponent.front() == '-') return true;
    if (!exponent.empty() && exponent.front() == '+') return false;
    number = number.substr(0, e);
  }
  for (char c : number) {
    if (c == '.') break;
    if (c >= '1' && c <= '9') return false;
  }
  return true;
}

}  // namespace

namespace c_numbers_detail {

int GeneralAtoi(std::string_view text) noexcept {
  std::size_t i = SkipSpace(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::int64_t value = 0;
  bool saturated = false;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (saturated) continue;
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<std::int64_t>(INT_MAX) + 1) saturated = true;
  }
  if (negative) {
    if (saturated || -value < INT_MIN) return INT_MIN;
    return static_cast<int>(-value);
  }
  if (saturated || value > INT_MAX) return INT_MAX;
  return static_cast<int>(value);
}

double GeneralAtof(std::string_view text) noexcept {
  std::size_t i = SkipSpace(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::string_view rest = text.substr(i);
  // Markers and model files write plain numbers such as 5419 or 0.99. With at most 15
  // digits the digits are an exact integer, and dividing it by an exact power of ten is
  // one correctly rounded operation: the very value that from_chars gives.
  if (!rest.empty() && rest.size() <= 16) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::int64_t digits = 0;
    std::size_t count = 0;
    std::size_t point = rest.size();
    std::size_t k = 0;
    for (; k < rest.size(); ++k) {
      if (IsDigit(rest[k])) {
        digits = digits * 10 + (rest[k] - '0');
        ++count;
      } else if (rest[k] == '.' && point == rest.size()) {
        point = k;
      } else {
        break;
      }
    }
    const bool whole_text = k == rest.size() && count > 0 && count <= 15;
    if (whole_text) {
      const std::size_t decimals = point == rest.size() ? 0 : rest.size() - point - 1;
      const double value = static_cast<double>(digits) / kPowers[decimals];
      return negative ? -value : value;
    }
  }
  // A sign followed by another sign is not a number.
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) return 0.0;

  std::chars_format format = std::chars_format::general;
  if (rest.size() >= 2 && rest[0] == '0' && LowerAscii(rest[1]) == 'x') {
    // "0x" alone reads as 0 (the x ends the number), as strtod does.
    std::string_view hex = rest.substr(2);
    double value = 0.0;
    auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), value, std::chars_format::hex);
    if (end == hex.data()) return negative ? -0.0 : 0.0;
    if (ec == std::errc::result_out_of_range) {
      value =
          LooksLikeUnderflow(std::string_view(hex.data(), static_cast<std::size_t>(end - hex.data()))) ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
  }

  double value = 0.0;
  auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), value, format);
  if (end == rest.data()) return 0.0;
  if (ec == std::errc::result_out_of_range) {
    value =
        LooksLikeUnderflow(std::string_view(rest.data(), static_cast<std::size_t>(end - rest.data()))) ? 0.0 : HUGE_VAL;
  }
  return negative ? -value : value;
}

}  // namespace c_numbers_detail

bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace dorvan_marker
