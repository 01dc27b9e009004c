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

// Writes the 1 to 10 digits of n at p; returns the end. The numbers of the host files are
// mostly below 10,000: those are written without a loop.
inline char* PutDigits(char* p, std::uint32_t n) {
  if (n < 100) {
    if (n < 10) {
      *p = static_cast<char>('0' + n);
      return p + 1;
    }
    PutPair(p, n);
    return p + 2;
  }
  if (n < 10000) {
    const std::uint32_t high = n / 100;
    if (high < 10) {
      *p++ = static_cast<char>('0' + high);
    } else {
      PutPair(p, high);
      p += 2;
    }
    PutPair(p, n - high * 100);
    return p + 2;
  }
  int length = 5;
  for (std::uint32_t bound = 100000; length < 10 && n >= bound; bound *= 10) ++length;
  p += length;
  DigitsBefore(p, n);
  return p;
}

}  // namespace dorvan_marker::decimal_digits
