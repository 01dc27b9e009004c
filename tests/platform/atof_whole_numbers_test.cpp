// SPDX-License-Identifier: MIT
// Atof reads whole numbers on a quick path of its own; it must give what strtod gives in
// the "C" locale, down to the sign of a zero.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/c_numbers.hpp"

namespace {

TEST(AtofWholeNumbers, GiveWhatStrtodGives) {
  const char* const texts[] = {"0",    "-0",    "+0",     "7",      "-7",     "007",    "-200",    "60000",
                               "5419", "-10838", " 42",   "\t-13",  "+-1",    "-+1",    "1 ",      "12:3",
                               "999999999999999",  "-999999999999999", "9999999999999999", "12345678901234567",
                               "-",    "+",     " ",      "1a",     "00000000000000000001"};
  for (const std::string text : texts) {
    const double expected = std::strtod(text.c_str(), nullptr);
    const double got = dorvan_marker::Atof(text);
    EXPECT_EQ(got, expected) << '"' << text << '"';
    EXPECT_EQ(std::signbit(got), std::signbit(expected)) << '"' << text << '"';
  }
}

}  // namespace
