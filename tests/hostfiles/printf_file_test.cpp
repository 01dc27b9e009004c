// SPDX-License-Identifier: MIT
#include "hostfiles/printf_file.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>

#include "dorvan_marker/error.hpp"
#include "support/test_support.hpp"

using dorvan_marker::CPrintfFile;
using dorvan_marker::FormatPrintf;

TEST(FormatPrintf, FormatsTheFourDirectives) {
  EXPECT_EQ(FormatPrintf("=:model\n", {}), "=:model\n");
  EXPECT_EQ(FormatPrintf("m:%s-%s", {std::string_view("JACKET"), std::string_view("38")}), "m:JACKET-38");
  EXPECT_EQ(FormatPrintf("s:%s", {std::string_view("50%d")}), "s:50%d") << "arguments are not formats";
  EXPECT_EQ(FormatPrintf("q:%d,%d", {1, -42}), "q:1,-42");
  EXPECT_EQ(FormatPrintf("w:%f", {59.05511811}), "w:59.055118");
  EXPECT_EQ(FormatPrintf("%lf|%f", {-0.0000004, 62.125}), "-0.000000|62.125000");
  EXPECT_EQ(FormatPrintf("100%%", {}), "100%");
}

TEST(FormatPrintf, RejectsMismatchedArguments) {
  EXPECT_THROW(FormatPrintf("%d", {1.5}), dorvan_marker::InvalidArgumentError);
  EXPECT_THROW(FormatPrintf("%s %s", {std::string_view("a")}), dorvan_marker::InvalidArgumentError);
  EXPECT_THROW(FormatPrintf("%x", {1}), dorvan_marker::InvalidArgumentError);
  EXPECT_THROW(FormatPrintf("", {1}), dorvan_marker::InvalidArgumentError);
}

TEST(FormatPrintf, MatchesTheCRuntimeOnManyValues) {
  // %f must give the correctly rounded decimal of the double's exact value: compare with
  // glibc's printf, which does, on awkward values (ties, tiny, huge, negative).
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> exponent(-12.0, 14.0);
  char expected[512];
  for (int i = 0; i < 20000; ++i) {
    double value = std::pow(10.0, exponent(random)) * ((random() & 1) ? -1.0 : 1.0);
    if (i % 4 == 0) value = std::round(value * 1e6 * 2.0) / 2.0 / 1e6;  // exact ties at the seventh decimal
    std::snprintf(expected, sizeof expected, "%f", value);
    ASSERT_EQ(FormatPrintf("%f", {value}), expected) << value;
  }
  for (double value : {0.0000005, 0.0000015, 62.125, 1e300, -1e-300, 2.5e-7}) {
    std::snprintf(expected, sizeof expected, "%f", value);
    EXPECT_EQ(FormatPrintf("%f", {value}), expected) << value;
  }
}

TEST(CPrintfFile, WritesCrLfAndReplacesTheFile) {
  test::TempDir dir;
  const std::string path = dir / "out.txt";
  test::WriteFile(path, "old content that is longer than the new one\n");
  CPrintfFile file;
  ASSERT_TRUE(file.Open(path));
  file.Printf("=:model\n");
  file.Printf("w:%f\n", 59.05511811);
  file.Printf("%s,%d\n", std::string("a\nb"), 3);
  file.Close();
  EXPECT_EQ(test::ReadFile(path), "=:model\r\nw:59.055118\r\na\r\nb,3\r\n");
}

TEST(CPrintfFile, KeepsThePointUnderACommaLocaleAndLeavesTheLocaleAlone) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  char comma[16];
  std::snprintf(comma, sizeof comma, "%.1f", 1.5);
  ASSERT_STREQ(comma, "1,5") << "the locale really uses a comma";
  test::TempDir dir;
  CPrintfFile file;
  ASSERT_TRUE(file.Open(dir / "w.txt"));
  file.Printf("w:%f\n", 59.05511811);
  file.Close();
  EXPECT_EQ(test::ReadFile(dir / "w.txt"), "w:59.055118\r\n");
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "de_DE.UTF-8") << "the process locale is unchanged";
  std::setlocale(LC_ALL, "C");
}

TEST(CPrintfFile, ReportsAFileThatCannotBeCreated) {
  test::TempDir dir;
  CPrintfFile file;
  EXPECT_FALSE(file.Open(dir / "missing/out.txt"));
  EXPECT_THROW(file.Printf("x\n"), dorvan_marker::HostFileError) << "no line reaches a file that is not open";
}

TEST(CPrintfFile, ReportsAFailedWrite) {
  if (!test::Exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  CPrintfFile file;
  ASSERT_TRUE(file.Open("/dev/full"));
  file.Printf("%s\n", std::string(1000, 'x'));
  EXPECT_THROW(file.Close(), dorvan_marker::HostFileError);
}

TEST(CPrintfFile, WritesIntsAndHundredthsAsPrintfDoes) {
  test::TempDir dir;
  const std::string path = dir / "ints.txt";
  CPrintfFile file;
  ASSERT_TRUE(file.Open(path));
  std::string expected;
  char line[64];
  for (int value : {0, 1, -1, 9, 10, -10, 99, 100, 9999, 10000, 99999, 100000, 999999, 1000000, 999999999,
                    1000000000, -1000000000, INT_MAX, INT_MIN}) {
    file.Printf("%d\n", value);
    std::snprintf(line, sizeof line, "%d\r\n", value);
    expected += line;
  }
  for (long long value : {0LL, 5LL, -5LL, 99LL, -100LL, 123456LL, -99999999999LL, 4000000000000LL}) {
    file.Printf("%f\n", dorvan_marker::Hundredths{value});
    std::snprintf(line, sizeof line, "%f\r\n", static_cast<double>(value) / 100.0);
    expected += line;
  }
  file.Close();
  EXPECT_EQ(test::ReadFile(path), expected);
}
