// SPDX-License-Identifier: MIT
#include "render/markup.hpp"

#include "dorvan_marker/json.hpp"

namespace dorvan_marker {

std::string Markup(std::string_view bytes, const std::string& code_page) {
  std::string out;
  for (const char c : CarriedAsUtf8(bytes, code_page)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') continue;
        out += c;
    }
  }
  return out;
}

}  // namespace dorvan_marker
