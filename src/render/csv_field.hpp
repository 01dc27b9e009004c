// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace dorvan_marker {

// A CSV field as RFC 4180 writes it: quoted only when it holds a comma, a quote or a line
// end, a quote inside doubled.
inline std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? "\"\"" : std::string(1, c);
  return quoted + "\"";
}

}  // namespace dorvan_marker
