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
  const char* const texts[] = {"0",
                               "-0",
                               "+0",
                               "7",
                               "-7",
                               "007",
                               "-200",
                               "60000",
                               "5419",
                               "-10838",
                               " 42",
                               "\t-13",
                               "+-1",
                               "-+1",
                               "1 ",
                               "12:3",
                               "999999999999999",
                               "-999999999999999",
                               "9999999999999999",
                               "12345678901234567",
                               "-",
                               "+",
                               " ",
                               "1a",
                               "00000000000000000001",
                               "0.99",
                               "-0.0349066",
                               "1.5707963",
                               "1.",
                               ".5",
                               "-.5",
                               ".",
                               "-.",
                               "1.2.3",
                               "0.1",
                               "0.3",
                               "123456789.012345",
                               "1234567890.123456",
                               "9007199254740993",
                               "0.000000000000001",
                               "2.2250738585072014",
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

TEST(PlainInteger, ReadsEightDigitsAtOnceAsOneByOne) {
  // Fields cut from a buffer at every place and length: the read that looks at the eight
  // bytes ending where the field ends must agree with the digit-by-digit one.
  static const char kBytes[] = {'0', '1', '5', '9', '9', '-', ':', '/', ' ', 'a', '\xb9', '\x80'};
  std::uint64_t state = 17;
  std::string buffer;
  for (int i = 0; i < 4096; ++i) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    buffer += kBytes[(state >> 33) % sizeof kBytes];
  }
  for (std::size_t start = 0; start < buffer.size(); ++start) {
    for (std::size_t length = 0; length <= 11 && start + length <= buffer.size(); ++length) {
      const std::string_view field(buffer.data() + start, length);
      std::int64_t one_by_one = -1;
      std::int64_t at_once = -1;
      const bool plain = dorvan_marker::c_numbers_detail::PlainInteger(field, 9, one_by_one);
      ASSERT_EQ(dorvan_marker::c_numbers_detail::PlainInteger(field, 9, at_once, buffer.data()), plain)
          << '"' << field << '"';
      if (plain) ASSERT_EQ(at_once, one_by_one) << '"' << field << '"';
    }
  }
  std::int64_t value = 0;
  const std::string text = "12:-00012345:99999999:123456789";
  ASSERT_TRUE(
      dorvan_marker::c_numbers_detail::PlainInteger(std::string_view(text).substr(3, 9), 9, value, text.data()));
  EXPECT_EQ(value, -12345);
  ASSERT_TRUE(
      dorvan_marker::c_numbers_detail::PlainInteger(std::string_view(text).substr(13, 8), 9, value, text.data()));
  EXPECT_EQ(value, 99999999);
}
