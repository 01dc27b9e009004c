// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "platform/code_page.hpp"

namespace dorvan_marker {

// Whether NormalizeName keeps byte as it is: NUL, a lead byte of the code page, any byte
// from 0x80 up in a multibyte code page, a blank, '-', '_', 0-9, A-Z, and the bytes 0x80,
// 0x8E, 0x99, 0x9A and 0xA5 (the capitals C-cedilla, A/O/U-umlaut and N-tilde of code
// page 437).
bool IsNameChar(unsigned char byte, CodePage code_page);

// The name the host accepts for a marker, model or piece name: '.', '/' and '#' become
// '-', a to z are upper-cased (nothing else, whatever the locale), every other byte that
// is not a name character becomes '-', double-byte characters pass untouched, and a
// leading '-' becomes 'X'. "spring.lay 2" gives "SPRING-LAY 2", "#12/B" gives "X12-B".
std::string NormalizeName(std::string_view text, CodePage code_page);

}  // namespace dorvan_marker
