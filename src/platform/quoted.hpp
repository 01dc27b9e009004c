// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace dorvan_marker {

// text in double quotes appended to out, as every message names a tag, field or value:
// "VNUM" "0".
inline void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  out += text;
  out += '"';
}

// The same as a text of its own.
inline std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  AppendQuoted(quoted, text);
  return quoted;
}

}  // namespace dorvan_marker
