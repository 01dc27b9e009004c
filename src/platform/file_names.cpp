// SPDX-License-Identifier: MIT
#include "platform/file_names.hpp"

namespace dorvan_marker {
namespace {

bool IsSeparator(char c) {
#if defined(_WIN32)
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}

}  // namespace

std::size_t FileNameStart(std::string_view path, CodePage code_page) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (code_page.IsLeadByte(static_cast<unsigned char>(path[i]))) {
      ++i;
    } else if (IsSeparator(path[i])) {
      start = i + 1;
    }
#if defined(_WIN32)
    else if (i == 1 && path[i] == ':') {
      start = 2;  // "c:name.txt": the drive is no part of the name
    }
#endif
  }
  return start;
}

}  // namespace dorvan_marker
