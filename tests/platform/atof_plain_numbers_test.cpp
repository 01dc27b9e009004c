// SPDX-License-Identifier: MIT
// Atof reads plain numbers (digits and at most one point) on a quick path of its own; it
// must give what strtod gives in the "C" locale, down to the last bit and the sign of a
// zero.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/c_numbers.hpp"

namespace {

TEST(AtofPlainNumbers, GiveWhatStrtodGives) {
  const char* const texts[] = {"0",    "-0",    "+0",     "7",      "-7",     "007",    "-200",    "60000",
                               "5419", "-10838", " 42",   "\t-13",  "+-1",    "-+1",    "1 ",      "12:3",
                               "999999999999999",  "-999999999999999", "9999999999999999", "12345678901234567",
                               "-",    "+",     " ",      "1a",     "00000000000000000001", "0.99", "-0.0349066",
                               "1.5707963", "1.", ".5", "-.5", ".", "-.", "1.2.3", "0.1", "0.3", "123456789.012345",
                               "1234567890.123456", "9007199254740993", "0.000000000000001", "2.2250738585072014",
                               "1.00000000000000011102230246251565"};
  for (const std::string text : texts) {
    const double expected = std::strtod(text.c_str(), nullptr);
    const double got = dorvan_marker::Atof(text);
    EXPECT_EQ(got, expected) << '"' << text << '"';
    EXPECT_EQ(std::signbit(got), std::signbit(expected)) << '"' << text << '"';
  }
}

TEST(AtofPlainNumbers, GiveWhatStrtodGivesForManyDecimals) {
  std::uint64_t state = 3;
  for (int i = 0; i < 200000; ++i) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    const std::uint64_t digits = (state >> 11) % 1000000000000000ull;
    std::string text = std::to_string(digits);
    const std::size_t point = static_cast<std::size_t>((state >> 3) % (text.size() + 1));
    text.insert(point, ".");
    if (state & 1) text.insert(0, "-");
    const double expected = std::strtod(text.c_str(), nullptr);
    ASSERT_EQ(dorvan_marker::Atof(text), expected) << text;
  }
}

}  // namespace
