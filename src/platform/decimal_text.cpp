// SPDX-License-Identifier: MIT
#include "platform/decimal_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "platform/decimal_digits.hpp"

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
  // Signed: one instruction where an unsigned conversion is several.
  auto whole = static_cast<std::uint32_t>(static_cast<std::int64_t>(tenths));
  const double fraction = tenths - static_cast<double>(whole);  // exact
  if (std::fabs(fraction - 0.5) <= 1e-6) return AppendFixed(out, value, 1);
  if (fraction > 0.5) ++whole;
  char text[16];
  char* p = text;
  if (value < 0.0) *p++ = '-';
  const std::uint32_t units = whole / 10;
  p = decimal_digits::PutDigits(p, units);
  p[0] = '.';
  p[1] = static_cast<char>('0' + (whole - units * 10));
  out.append(text, static_cast<std::size_t>(p + 2 - text));
}

}  // namespace dorvan_marker
