// SPDX-License-Identifier: MIT
#include "platform/c_numbers.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>

using dorvan_marker::Atof;
using dorvan_marker::Atoi;

TEST(Atoi, ReadsTheLongestDecimalPrefix) {
  const struct {
    const char* text;
    int value;
  } cases[] = {
      {"", 0},
      {"abc", 0},
      {"12", 12},
      {"007", 7},
      {"2abc", 2},
      {"   3", 3},
      {"\t\n 4x", 4},
      {"-2", -2},
      {"+5", 5},
      {"- 5", 0},
      {"1.9", 1},
      {"--1", 0},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"99999999999999999999", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-99999999999999999999", INT_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(Atoi(c.text), c.value) << '"' << c.text << '"';
}

TEST(Atof, ReadsTheLongestFloatingPrefixInTheCConvention) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"", 0.0},        {"x", 0.0},  {"1500", 1500.0}, {"1500.5", 1500.5}, {"1500,5", 1500.0}, {" -2.5e2z", -250.0},
      {"+.5", 0.5},     {"1e", 1.0}, {"0x10", 16.0},   {"0x", 0.0},        {"-0", 0.0},        {"1e-400", 0.0},
      {"5419", 5419.0},
  };
  for (const auto& c : cases) EXPECT_EQ(Atof(c.text), c.value) << '"' << c.text << '"';
  EXPECT_EQ(Atof("1e400"), HUGE_VAL);
  EXPECT_EQ(Atof("-1e400"), -HUGE_VAL);
  EXPECT_TRUE(std::isinf(Atof("inf")));
  EXPECT_TRUE(std::isnan(Atof("nan")));
}

TEST(Atof, IgnoresACommaDecimalLocale) {
  // The process locale must play no part: under a comma locale "1500.5" stays 1500.5.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  EXPECT_EQ(Atof("1500.5"), 1500.5);
  EXPECT_EQ(Atof("1500,5"), 1500.0);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(EqualsIgnoringCase, ComparesAsciiLettersOnly) {
  EXPECT_TRUE(dorvan_marker::EqualsIgnoringCase("mDl", "MDL"));
  EXPECT_FALSE(dorvan_marker::EqualsIgnoringCase("MDL ", "MDL"));
  EXPECT_FALSE(dorvan_marker::EqualsIgnoringCase("01", "1"));
}
