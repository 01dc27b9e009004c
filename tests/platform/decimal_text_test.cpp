// SPDX-License-Identifier: MIT
// Numbers as the documents write them. The one-decimal numbers of the report's messages
// take a quick way for most values; it must write what the general conversion writes,
// down to a tie.
#include "platform/decimal_text.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace {

TEST(FixedText, WritesANumberOfAnySize) {
  // A fabric of 1e300 mm is written in full, not as the bytes of a buffer too short.
  for (const double value : {1e300, -std::numeric_limits<double>::max()}) {
    char expected[400];
    std::snprintf(expected, sizeof expected, "%.3f", value);
    EXPECT_EQ(dorvan_marker::FixedText(value, 3), expected);
  }
}

std::string OneDecimal(double value) {
  std::string text = "x";  // appended, not replaced
  dorvan_marker::AppendOneDecimal(text, value);
  return text.substr(1);
}

TEST(AppendOneDecimal, WritesWhatTheGeneralConversionWrites) {
  const double edges[] = {0.0,
                          0.04,
                          -0.04,
                          0.05,
                          0.15,
                          0.25,
                          -0.25,
                          1.45,
                          399.0,
                          -1.0,
                          1484.36,
                          9.96,  // rounds up into one more digit
                          -99.97,
                          59304.1,
                          214748364.7,
                          214748364.8,
                          1e300,
                          -1e9,
                          std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN()};
  for (const double value : edges) EXPECT_EQ(OneDecimal(value), dorvan_marker::FixedText(value, 1)) << value;
  EXPECT_EQ(OneDecimal(-0.0), "0.0");  // a report's coordinates never were "-0.0"
  std::uint64_t state = 5;
  for (int i = 0; i < 200000; ++i) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    // Whole tenths and hundredths over a marker's range, and values near a tie.
    const double base = static_cast<double>(static_cast<std::int64_t>(state >> 34) - (1 << 29)) / 100.0;
    const double value = (state & 1) != 0 ? base : std::nextafter(base + 0.05, (state & 2) != 0 ? 1e12 : -1e12);
    ASSERT_EQ(OneDecimal(value), dorvan_marker::FixedText(value, 1)) << value;
  }
}

}  // namespace
