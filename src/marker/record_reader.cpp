// SPDX-License-Identifier: MIT
#include "marker/record_reader.hpp"

#include <climits>

#include "platform/c_numbers.hpp"

namespace dorvan_marker {

void SplitFields(std::string_view line, RecordFields& fields) {
  fields.clear();
  while (!line.empty()) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
      fields.push_back(line);
      break;
    }
    fields.push_back(line.substr(0, colon));
    line.remove_prefix(colon + 1);
  }
}

int ReadRecord(TextFile& file, RecordFields& fields) {
  fields.clear();
  std::string_view line;
  while (file.ReadLine(line)) {
    while (!line.empty() && IsCSpace(line.back())) line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    SplitFields(line, fields);
    return fields.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(fields.size());
  }
  return 0;
}

}  // namespace dorvan_marker
