// SPDX-License-Identifier: MIT
// The host files' formatting: "%f" must give the very bytes of std::to_chars(fixed, 6),
// which is also what the C runtime's printf gives, whatever the locale, since the host
// files are compared byte for byte.
#include "hostfiles/printf_file.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "dorvan_marker/error.hpp"
#include "support/output_file.hpp"
#include "support/test_support.hpp"

using dorvan_marker::CPrintfFile;

namespace {

// What "%f\n" writes of each value, one line each, without the CR LF.
std::vector<std::string> PrintedFixed(const std::vector<double>& values) {
  test::TempDir dir;
  test::OutputFile out(dir / "f.txt");
  CPrintfFile file(out.File());
  const dorvan_marker::PrintfFormat<double> line("%f\n");
  for (double value : values) file.Printf(line, value);
  file.Finish();
  const std::string text = out.Read();
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string ToChars(double value) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

// Every value against its reference; stops after a few mismatches.
void ExpectAllPrintedAs(const std::vector<double>& values, std::string (*reference)(double)) {
  const std::vector<std::string> printed = PrintedFixed(values);
  ASSERT_EQ(printed.size(), values.size());
  int mismatches = 0;
  for (std::size_t i = 0; i < values.size() && mismatches < 10; ++i) {
    if (printed[i] != reference(values[i])) {
      ADD_FAILURE() << "value " << ToChars(values[i]) << ": " << printed[i] << ", not " << reference(values[i]);
      ++mismatches;
    }
  }
}

}  // namespace

TEST(CPrintfFile, FormatsTheFourDirectives) {
  test::TempDir dir;
  test::OutputFile out(dir / "out.txt");
  CPrintfFile file(out.File());
  file.Printf("=:model\n");
  file.Printf("m:%s-%s\n", std::string("JACKET"), "38");
  file.Printf("s:%s\n", "50%d");  // arguments are not formats
  file.Printf("q:%d,%d,%d,%d\n", 1, -42, INT_MAX, INT_MIN);
  file.Printf("w:%f|%lf|%f|%f\n", 59.05511811, -0.0000004, 62.125, 1.9999996);  // the last carries into 2
  file.Printf("100%%\n");
  file.Finish();
  EXPECT_EQ(out.Read(), test::CrLfLines({"=:model", "m:JACKET-38", "s:50%d", "q:1,-42,2147483647,-2147483648",
                                         "w:59.055118|-0.000000|62.125000|2.000000", "100%"}));
}

TEST(CPrintfFile, PrintsFixedAsToCharsOnEdgeValues) {
  ExpectAllPrintedAs({0.0,
                      -0.0,
                      1.0,
                      -1.0,
                      0.5,
                      1e-7,
                      -1e-7,
                      4.9999999e-7,
                      5e-7,
                      -5e-7,
                      5.0000001e-7,
                      0.0078125,  // 7812.5 millionths exactly: a true tie
                      -0.0078125,
                      2.5,
                      0.1234565,
                      0.9999995,
                      1.0000005,
                      123456.7890125,
                      999999999.9999995,
                      999999999.999999,
                      1e9,
                      -1e9,
                      1e9 + 0.5,
                      1e15,
                      1e300,
                      -1e300,
                      std::numeric_limits<double>::denorm_min(),
                      std::numeric_limits<double>::max(),
                      std::numeric_limits<double>::infinity(),
                      -std::numeric_limits<double>::infinity(),
                      std::numeric_limits<double>::quiet_NaN(),
                      59.05511811,
                      535.748031496063,
                      -179.9959},
                     ToChars);
}

TEST(CPrintfFile, PrintsFixedAsToCharsOnManyValues) {
  std::uint64_t state = 42;
  auto next = [&] {  // splitmix64
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  };
  std::vector<double> values;
  for (int i = 0; i < 300000; ++i) {
    const std::uint64_t bits = next();
    // Any bit pattern; a decimal of a few places as a marker writes it; a value just off
    // a half millionth; a quotient as the writers compute them.
    double any = 0.0;
    std::memcpy(&any, &bits, sizeof bits);
    values.push_back(any);
    values.push_back(static_cast<double>(static_cast<std::int64_t>(bits % 20000000000ull) - 10000000000ll) / 1000.0);
    values.push_back((static_cast<double>(bits % 2000000000ull) + 0.5) / 1e6 *
                     (1.0 + static_cast<double>(static_cast<int>(next() % 5) - 2) * 1e-16));
    values.push_back(static_cast<double>(bits % 100000) / 3450.0 / 6.2831853 * 360.0 - 180.0);
  }
  ExpectAllPrintedAs(values, ToChars);
}

TEST(CPrintfFile, PrintsFixedAsTheCRuntimeDoes) {
  // The correctly rounded decimal of the double's exact value: glibc's printf gives it, on
  // awkward values (ties, tiny, huge, negative).
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> exponent(-12.0, 14.0);
  std::vector<double> values{0.0000005, 0.0000015, 62.125, 1e300, -1e-300, 2.5e-7};
  for (int i = 0; i < 20000; ++i) {
    double value = std::pow(10.0, exponent(random)) * ((random() & 1) ? -1.0 : 1.0);
    if (i % 4 == 0) value = std::round(value * 1e6 * 2.0) / 2.0 / 1e6;  // exact ties at the seventh decimal
    values.push_back(value);
  }
  ExpectAllPrintedAs(values, [](double value) {
    char expected[512];
    std::snprintf(expected, sizeof expected, "%f", value);
    return std::string(expected);
  });
}

TEST(CPrintfFile, WritesCrLfAndLinesLongerThanItsBuffer) {
  test::TempDir dir;
  test::OutputFile out(dir / "out.txt");
  CPrintfFile file(out.File());
  file.Printf("%s,%d\n", std::string("a\nb"), 3);
  file.Printf("%s\n", std::string(100000, 'x'));  // longer than the file's buffer
  file.Finish();
  EXPECT_EQ(out.Read(), "a\r\nb,3\r\n" + std::string(100000, 'x') + "\r\n");
}

TEST(CPrintfFile, KeepsThePointUnderACommaLocaleAndLeavesTheLocaleAlone) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  char comma[16];
  std::snprintf(comma, sizeof comma, "%.1f", 1.5);
  ASSERT_STREQ(comma, "1,5") << "the locale really uses a comma";
  test::TempDir dir;
  test::OutputFile out(dir / "w.txt");
  CPrintfFile file(out.File());
  file.Printf("w:%f\n", 59.05511811);
  file.Finish();
  EXPECT_EQ(out.Read(), "w:59.055118\r\n");
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "de_DE.UTF-8") << "the process locale is unchanged";
  std::setlocale(LC_ALL, "C");
}

TEST(CPrintfFile, ReportsAFailedWrite) {
  const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
  if (full < 0) GTEST_SKIP() << "no /dev/full";
  CPrintfFile file({&dorvan_marker::CurrentFileSystem(), full, "/dev/full"});
  file.Printf("%s\n", std::string(1000, 'x'));
  try {
    file.Finish();
    ADD_FAILURE() << "a full disk is reported";
  } catch (const dorvan_marker::HostFileError& error) {
    EXPECT_EQ(std::string(error.what()), "cannot write /dev/full: No space left on device");
  }
  close(full);
}
