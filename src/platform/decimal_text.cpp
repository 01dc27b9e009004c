// SPDX-License-Identifier: MIT
#include "platform/decimal_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace dorvan_marker {

void AppendShortest(std::string& out, double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ptr);
}

namespace {

void AppendFixed(std::string& out, double value, int decimals) {
  // The largest double has 309 digits before the point: room for them, a sign, the point
  // and every number of decimals the outputs ask for.
  char text[400];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  out.append(text, result.ptr);
}

}  // namespace

std::string FixedText(double value, int decimals) {
  std::string text;
  AppendFixed(text, value, decimals);
  return text;
}

void AppendOneDecimal(std::string& out, double value) {
  // Tenths as a whole number when value * 10 lies clearly off a tie: its rounding error
  // (below 2^-22 under 2^31) cannot then carry it across one, so the digits are those of
  // the exact value. Ties, large values, infinities and NaN take the general way. A
  // negative value is its magnitude after a minus, as the general way writes it; a
  // negative zero is written "0.0", as a report has always written it.
  const double tenths = std::fabs(value * 10.0);
  if (!(tenths < 2147483648.0)) return AppendFixed(out, value, 1);
  auto whole = static_cast<std::uint32_t>(tenths);
  const double fraction = tenths - static_cast<double>(whole);  // exact
  if (std::fabs(fraction - 0.5) <= 1e-6) return AppendFixed(out, value, 1);
  if (fraction > 0.5) ++whole;
  char text[16];
  char* begin = text + sizeof text;
  *--begin = static_cast<char>('0' + whole % 10);
  *--begin = '.';
  whole /= 10;
  do {
    *--begin = static_cast<char>('0' + whole % 10);
    whole /= 10;
  } while (whole != 0);
  if (value < 0.0) *--begin = '-';
  out.append(begin, text + sizeof text);
}

}  // namespace dorvan_marker
