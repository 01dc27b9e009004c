// SPDX-License-Identifier: MIT
#include "markup.hpp"

#include "dorvan_marker/json.hpp"

namespace cli {

std::string Markup(std::string_view bytes, const std::string& code_page) {
  std::string out;
  for (const char c : dorvan_marker::CarriedAsUtf8(bytes, code_page)) {
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

}  // namespace cli
