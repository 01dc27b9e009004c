// SPDX-License-Identifier: MIT
// Numbers as the documents write them.
#include "platform/decimal_text.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>

namespace {

TEST(FixedText, WritesANumberOfAnySize) {
  // A fabric of 1e300 mm is written in full, not as the bytes of a buffer too short.
  for (const double value : {1e300, -std::numeric_limits<double>::max()}) {
    char expected[400];
    std::snprintf(expected, sizeof expected, "%.3f", value);
    EXPECT_EQ(dorvan_marker::FixedText(value, 3), expected);
  }
}

}  // namespace
