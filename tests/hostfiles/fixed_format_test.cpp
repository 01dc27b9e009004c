// SPDX-License-Identifier: MIT
// "%f" must give the very bytes of std::to_chars(fixed, 6), fast path or not: the host
// files are compared byte for byte.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "hostfiles/printf_file.hpp"

namespace {

std::string Reference(double value) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

std::string Fixed6(double value) {
  std::string out = "x";  // appends, never replaces
  dorvan_marker::AppendFixed6(out, value);
  return out.substr(1);
}

TEST(Fixed6, MatchesToCharsOnEdgeValues) {
  const double values[] = {0.0, -0.0, 1.0, -1.0, 0.5, 1e-7, -1e-7, 4.9999999e-7, 5e-7, -5e-7, 5.0000001e-7,
                           0.0078125,  // 7812.5 millionths exactly: a true tie
                           -0.0078125, 2.5, 0.1234565, 0.9999995, 1.0000005, 123456.7890125, 999999999.9999995,
                           999999999.999999, 1e9, -1e9, 1e9 + 0.5, 1e15, 1e300, -1e300,
                           std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN(), 59.05511811, 535.748031496063, -179.9959};
  for (double value : values) EXPECT_EQ(Fixed6(value), Reference(value)) << value;
}

TEST(Fixed6, MatchesToCharsOnManyValues) {
  std::uint64_t state = 42;
  auto next = [&] {  // splitmix64
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  };
  int mismatches = 0;
  for (int i = 0; i < 300000 && mismatches < 10; ++i) {
    const std::uint64_t bits = next();
    double candidates[4];
    // Any bit pattern; a decimal of a few places as a marker writes it; a value just off
    // a half millionth; a quotient as the writers compute them.
    std::memcpy(&candidates[0], &bits, sizeof bits);
    candidates[1] = static_cast<double>(static_cast<std::int64_t>(bits % 20000000000ull) - 10000000000ll) / 1000.0;
    candidates[2] = (static_cast<double>(bits % 2000000000ull) + 0.5) / 1e6 *
                    (1.0 + static_cast<double>(static_cast<int>(next() % 5) - 2) * 1e-16);
    candidates[3] = static_cast<double>(bits % 100000) / 3450.0 / 6.2831853 * 360.0 - 180.0;
    for (double value : candidates) {
      if (Fixed6(value) != Reference(value)) {
        ADD_FAILURE() << "value " << Reference(value) << " bits " << bits << ": " << Fixed6(value);
        ++mismatches;
      }
    }
  }
}

}  // namespace
