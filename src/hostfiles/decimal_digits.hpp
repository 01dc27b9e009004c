// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <cstring>

namespace dorvan_marker::decimal_digits {

// The decimal digits of 0 to 99, two by two.
inline constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the two digits of n < 100 at p.
inline void PutPair(char* p, std::uint32_t n) { std::memcpy(p, kPairs + 2 * n, 2); }

// Writes the digits of n before end; returns where they start.
inline char* DigitsBefore(char* end, std::uint64_t n) {
  while (n >= 100) {
    end -= 2;
    PutPair(end, static_cast<std::uint32_t>(n % 100));
    n /= 100;
  }
  if (n >= 10) {
    end -= 2;
    PutPair(end, static_cast<std::uint32_t>(n));
  } else {
    *--end = static_cast<char>('0' + n);
  }
  return end;
}

// Writes the 1 to 10 digits of n at p; returns the end.
inline char* PutDigits(char* p, std::uint32_t n) {
  int length = 1;
  if (n >= 10) length = n < 100 ? 2 : n < 1000 ? 3 : n < 10000 ? 4 : n < 100000 ? 5 : 10;
  if (length == 10) {  // rare: count the digits one by one
    length = 6;
    for (std::uint32_t bound = 1000000; length < 10 && n >= bound; bound *= 10) ++length;
  }
  p += length;
  DigitsBefore(p, n);
  return p;
}

}  // namespace dorvan_marker::decimal_digits
