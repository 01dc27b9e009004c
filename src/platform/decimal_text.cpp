// SPDX-License-Identifier: MIT
#include "platform/decimal_text.hpp"

#include <charconv>

namespace dorvan_marker {

void AppendShortest(std::string& out, double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ptr);
}

std::string FixedText(double value, int decimals) {
  // The largest double has 309 digits before the point: room for them, a sign, the point
  // and every number of decimals the outputs ask for.
  char text[400];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return std::string(text, result.ptr);
}

}  // namespace dorvan_marker
