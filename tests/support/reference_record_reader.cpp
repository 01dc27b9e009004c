// SPDX-License-Identifier: MIT
#include "support/reference_record_reader.hpp"

#include <algorithm>
#include <climits>
#include <utility>

#include "marker/record_file.hpp"
#include "platform/c_numbers.hpp"

namespace test {
namespace {

void SplitFields(std::string_view line, std::vector<std::string_view>& fields) {
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

}  // namespace

int ReadRecord(dorvan_marker::TextFile& file, std::vector<std::string_view>& fields) {
  fields.clear();
  std::string_view line;
  while (file.ReadLine(line)) {
    while (!line.empty() && dorvan_marker::IsCSpace(line.back())) line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    SplitFields(line, fields);
    return fields.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(fields.size());
  }
  return 0;
}

std::vector<std::string> ReadLineByLine(const std::string& text) {
  dorvan_marker::TextFile file;
  file.OpenText(text);
  std::vector<std::string> records;
  std::vector<std::string_view> fields;
  while (ReadRecord(file, fields) != 0) {
    std::string record = std::to_string(file.LineNumber());
    for (std::string_view field : fields) record += "|" + std::string(field);
    records.push_back(record);
  }
  return records;
}

std::vector<std::string> ReadWhole(const std::string& text) {
  dorvan_marker::TextFile file;
  file.OpenText(text);
  dorvan_marker::RecordFile records;
  records.Parse(file);
  std::vector<std::pair<std::size_t, std::string>> found;
  auto add = [&](const dorvan_marker::CElementsArray& record) {
    std::string line = std::to_string(record.Line());
    for (std::size_t i = 0; i < record.size(); ++i) line += "|" + std::string(record[i]);
    found.emplace_back(record.Line(), line);
  };
  for (std::size_t h = 1; h < records.HeaderRecords().size(); ++h) add(records.HeaderRecords()[h]);
  for (const std::uint32_t number : records.SectionNumbers()) {
    for (const auto& record : *records.SectionAt(number)) add(record);
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> lines;
  for (auto& [line, record] : found) lines.push_back(std::move(record));
  return lines;
}

}  // namespace test
