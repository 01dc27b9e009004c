// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace dorvan_marker {

// The C runtime's white space: blank, tab, line feed, vertical tab, form feed, return.
constexpr bool IsCSpace(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

namespace c_numbers_detail {

// A field that is nothing but an optional minus and 1 to max_digits digits: its value.
// Most numbers of a marker are such fields, read here without the general rules.
inline bool PlainInteger(std::string_view text, std::size_t max_digits, std::int64_t& value) noexcept {
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  if (p == end || static_cast<std::size_t>(end - p) > max_digits) return false;
  std::int64_t digits = 0;
  for (; p != end; ++p) {
    const auto digit = static_cast<unsigned char>(*p - '0');
    if (digit > 9) return false;
    digits = digits * 10 + digit;
  }
  value = negative ? -digits : digits;
  return true;
}

int GeneralAtoi(std::string_view text) noexcept;
double GeneralAtof(std::string_view text) noexcept;

}  // namespace c_numbers_detail

// atoi as the marker format expects it: leading white space skipped, an optional sign,
// decimal digits up to the first other character; 0 when there are none. Values beyond
// the int range saturate to INT_MAX or INT_MIN (never wrap), so an absurd reference stays
// absurd instead of turning into a valid one.
inline int Atoi(std::string_view text) noexcept {
  std::int64_t value = 0;
  if (c_numbers_detail::PlainInteger(text, 9, value)) return static_cast<int>(value);
  return c_numbers_detail::GeneralAtoi(text);
}

// atof in the "C" convention whatever the process locale: the longest prefix that reads
// as a decimal or hexadecimal floating number, inf or nan; 0.0 when there is none.
// Overflow gives +-HUGE_VAL and underflow +-0.0, as strtod does.
inline double Atof(std::string_view text) noexcept {
  std::int64_t value = 0;
  // Exact: below 2^53. A minus zero is no plain integer ("-0" must give -0.0).
  if (c_numbers_detail::PlainInteger(text, 15, value) && value != 0) return static_cast<double>(value);
  return c_numbers_detail::GeneralAtof(text);
}

// ASCII-only case-insensitive equality, as _stricmp compares "MDL", "VET", "0" and "1".
bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept;

}  // namespace dorvan_marker
