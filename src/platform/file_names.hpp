// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/code_page.hpp"

namespace dorvan_marker {

// The position just after the last folder separator of path (0 when there is none):
// '\' or '/' on Windows, '/' elsewhere, where the trail byte of a double-byte character
// never counts; on Windows a drive ("c:name.txt") is no part of the name either.
std::size_t FileNameStart(std::string_view path, CodePage code_page);

}  // namespace dorvan_marker
