// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace dorvan_marker {

// The C runtime's white space: blank, tab, line feed, vertical tab, form feed, return.
constexpr bool IsCSpace(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atoi as the marker format expects it: leading white space skipped, an optional sign,
// decimal digits up to the first other character; 0 when there are none. Values beyond
// the int range saturate to INT_MAX or INT_MIN (never wrap), so an absurd reference stays
// absurd instead of turning into a valid one.
int Atoi(std::string_view text) noexcept;

// atof in the "C" convention whatever the process locale: the longest prefix that reads
// as a decimal or hexadecimal floating number, inf or nan; 0.0 when there is none.
// Overflow gives +-HUGE_VAL and underflow +-0.0, as strtod does.
double Atof(std::string_view text) noexcept;

// ASCII-only case-insensitive equality, as _stricmp compares "MDL", "VET", "0" and "1".
bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept;

}  // namespace dorvan_marker
