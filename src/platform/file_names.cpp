// SPDX-License-Identifier: MIT
#include "platform/file_names.hpp"

namespace dorvan_marker {

std::size_t FileNameStart(std::string_view path, CodePage code_page, FileNameRules rules) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    // A lead byte takes the byte after it along, unless that is a '/': no double-byte
    // code page has it as a second byte, and every system reads it as a separator.
    if (code_page.IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size() && path[i + 1] != '/') {
      ++i;
    } else if (rules.IsSeparator(path[i])) {
      start = i + 1;
    } else if (rules.HasDrivesAndStreams() && i == 1 && path[i] == ':') {
      start = 2;  // "c:name.txt": the drive is no part of the name
    }
  }
  return start;
}

bool IsPlainFileName(std::string_view name, CodePage code_page, FileNameRules rules) {
  // No double-byte code page has '/', ':' or NUL as a second byte: they count wherever
  // they stand. A '\' counts where the folder-finding of paths would see it.
  const std::string_view never = rules.HasDrivesAndStreams() ? std::string_view("/:\0", 3) : std::string_view("/\0", 2);
  return name.find_first_of(never) == std::string_view::npos && FileNameStart(name, code_page, rules) == 0;
}

}  // namespace dorvan_marker
