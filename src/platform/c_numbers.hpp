// SPDX-License-Identifier: MIT
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace dorvan_marker {

// The C runtime's white space: blank, tab, line feed, vertical tab, form feed, return.
constexpr bool IsCSpace(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

namespace c_numbers_detail {

// A field that is nothing but an optional minus and 1 to max_digits digits: its value.
// Most numbers of a marker are such fields, read here without the general rules.
//
// With readable_from, the caller vouches that every byte from there to the text's end may
// be read (the text is a view into a larger buffer that starts there): up to eight digits
// are then read at once from the eight bytes that end where the text ends.
inline bool PlainInteger(std::string_view text, std::size_t max_digits, std::int64_t& value,
                         const char* readable_from = nullptr) noexcept {
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  if (p == end || static_cast<std::size_t>(end - p) > max_digits) return false;
  const auto length = static_cast<std::size_t>(end - p);
  if (readable_from != nullptr && length <= 8 && static_cast<std::size_t>(end - readable_from) >= 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, end - 8, 8);
    if constexpr (std::endian::native == std::endian::little) {
      // The digits are the word's top `length` bytes; the bytes below become leading zeros.
      const std::uint64_t below = length == 8 ? 0 : (std::uint64_t{1} << (8 * (8 - length))) - 1;
      word = (word & ~below) | (0x3030303030303030ull & below);
      const bool all_digits =
          (((word & 0xF0F0F0F0F0F0F0F0ull) | (((word + 0x0606060606060606ull) & 0xF0F0F0F0F0F0F0F0ull) >> 4)) ==
           0x3333333333333333ull);
      if (!all_digits) return false;
      word -= 0x3030303030303030ull;
      word = word * 10 + (word >> 8);  // pairs of digits
      word = (((word & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
              (((word >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
             32;
      const auto digits = static_cast<std::int64_t>(word);
      value = negative ? -digits : digits;
      return true;
    }
  }
  std::int64_t digits = 0;
  for (; p != end; ++p) {
    const auto digit = static_cast<unsigned char>(*p - '0');
    if (digit > 9) return false;
    digits = digits * 10 + digit;
  }
  value = negative ? -digits : digits;
  return true;
}

// A field that is nothing but an optional minus, digits and at most one point, with 1 to
// 15 digits in all: its value as atof reads it. The digits make an exact integer and ten
// to the count of decimals is exact, so one division, rounded once, gives the very double
// of the decimal text.
inline bool PlainDecimal(std::string_view text, double& value) noexcept {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  if (end - p > 16) return false;
  std::int64_t digits = 0;
  int count = 0;
  const char* point = nullptr;
  for (; p != end; ++p) {
    const auto digit = static_cast<unsigned char>(*p - '0');
    if (digit <= 9) {
      digits = digits * 10 + digit;
      ++count;
    } else if (*p == '.' && point == nullptr) {
      point = p;
    } else {
      return false;
    }
  }
  if (count == 0 || count > 15) return false;
  // Without decimals the integer is the value itself: no division (by one) to wait for.
  const auto decimals = point == nullptr ? 0 : end - point - 1;
  const double magnitude =
      decimals == 0 ? static_cast<double>(digits) : static_cast<double>(digits) / kPowers[decimals];
  value = negative ? -magnitude : magnitude;
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
  double value = 0.0;
  if (c_numbers_detail::PlainDecimal(text, value)) return value;
  return c_numbers_detail::GeneralAtof(text);
}

// ASCII-only case-insensitive equality, as _stricmp compares "MDL", "VET", "0" and "1".
bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept;

}  // namespace dorvan_marker
