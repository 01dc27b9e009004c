// SPDX-License-Identifier: MIT
#include "platform/file_names.hpp"

namespace dorvan_marker {

std::size_t FileNameStart(std::string_view path, CodePage code_page, FileNameRules rules) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (code_page.IsLeadByte(static_cast<unsigned char>(path[i]))) {
      ++i;
    } else if (rules.IsSeparator(path[i])) {
      start = i + 1;
    } else if (rules.HasDrivesAndStreams() && i == 1 && path[i] == ':') {
      start = 2;  // "c:name.txt": the drive is no part of the name
    }
  }
  return start;
}

}  // namespace dorvan_marker
