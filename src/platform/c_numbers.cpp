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

int Atoi(std::string_view text) noexcept {
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

double Atof(std::string_view text) noexcept {
  std::size_t i = SkipSpace(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::string_view rest = text.substr(i);
  // Markers write their numbers as whole numbers: up to 15 digits are exact in a double,
  // and from_chars would give that very value.
  if (!rest.empty() && rest.size() <= 15) {
    std::int64_t whole = 0;
    std::size_t digits = 0;
    while (digits < rest.size() && IsDigit(rest[digits])) whole = whole * 10 + (rest[digits++] - '0');
    if (digits == rest.size()) {
      const auto value = static_cast<double>(whole);
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
      value = LooksLikeUnderflow(std::string_view(hex.data(), static_cast<std::size_t>(end - hex.data())))
                  ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
  }

  double value = 0.0;
  auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), value, format);
  if (end == rest.data()) return 0.0;
  if (ec == std::errc::result_out_of_range) {
    value = LooksLikeUnderflow(std::string_view(rest.data(), static_cast<std::size_t>(end - rest.data())))
                ? 0.0 : HUGE_VAL;
  }
  return negative ? -value : value;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace dorvan_marker
