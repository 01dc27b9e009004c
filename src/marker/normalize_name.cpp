// SPDX-License-Identifier: MIT
#include "marker/normalize_name.hpp"

namespace dorvan_marker {

bool IsNameChar(unsigned char byte, CodePage code_page) {
  if (byte == 0 || code_page.IsLeadByte(byte)) return true;
  if (byte >= 0x80 && code_page.IsMultibyte()) return true;
  if (byte == ' ' || byte == '-' || byte == '_') return true;
  if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z')) return true;
  return byte == 0x80 || byte == 0x8E || byte == 0x99 || byte == 0x9A || byte == 0xA5;
}

// One pass does the work of the three steps (replace, upper-case, replace the rest): each
// of them walks the text by characters, so a double-byte character is never split and its
// trail byte (which may look like 'a' or '\' in code page 932) is never touched.
std::string NormalizeName(std::string_view text, CodePage code_page) {
  std::string name(text);
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (code_page.IsLeadByte(byte)) {
      ++i;  // the trail byte goes with it; a lead byte at the very end stays alone
      continue;
    }
    if (byte == '.' || byte == '/' || byte == '#') {
      name[i] = '-';
    } else if (byte >= 'a' && byte <= 'z') {
      name[i] = static_cast<char>(byte - 'a' + 'A');
    } else if (!IsNameChar(byte, code_page)) {
      name[i] = '-';
    }
  }
  if (!name.empty() && name.front() == '-') name.front() = 'X';
  return name;
}

}  // namespace dorvan_marker
