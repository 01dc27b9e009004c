// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace dorvan_marker {

// text in double quotes, as every message names a tag, field or value: "VNUM" "0".
inline std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '"';
  quoted += text;
  quoted += '"';
  return quoted;
}

}  // namespace dorvan_marker
