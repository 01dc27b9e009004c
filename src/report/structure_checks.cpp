// SPDX-License-Identifier: MIT
#include "report/structure_checks.hpp"

#include <map>
#include <string>

namespace dorvan_marker {
namespace {

std::size_t RecordsIn(const RecordFile& records, std::size_t number) {
  const CSection* section = records.SectionAt(number);
  return section == nullptr ? 0 : section->size();
}

void CheckDuplicateHeaders(const MarkerDocument& document, DiagnosticList& diagnostics) {
  const RecordFile& records = document.Records();
  const CheckedArray<CElementsArray>& headers = document.HeaderRecords();
  std::map<std::string_view, std::size_t> first_of_tag;
  for (std::size_t k = 1; k < headers.size(); ++k) {
    const CElementsArray& header = headers[k];
    const std::string_view tag = header[0];
    const auto [first, added] = first_of_tag.try_emplace(tag, k);
    if (added) continue;
    const std::size_t count = RecordsIn(records, k);
    diagnostics.Add(Severity::Warning, diagnostic_code::kDuplicateHeader, tag, -1, header, {},
                    "header record " + std::to_string(k) + " repeats the tag " + Quoted(tag) + " of header record " +
                        std::to_string(first->second) + " (line " + std::to_string(headers[first->second].Line()) +
                        "): its " + std::to_string(count) + " record" + (count == 1 ? "" : "s") + " numbered " +
                        std::to_string(k) + " are never read");
  }
}

void CheckOrphanSections(const MarkerDocument& document, DiagnosticList& diagnostics) {
  const RecordFile& records = document.Records();
  const std::size_t header_count = document.HeaderRecords().size() - 1;
  for (const std::uint32_t number : records.SectionNumbers()) {
    if (number != 0 && number <= header_count) continue;
    const CSection& section = *records.SectionAt(number);
    diagnostics.Add(Severity::Warning, diagnostic_code::kOrphanSection, std::to_string(number), 0, section[0], {},
                    std::to_string(section.size()) + " record" + (section.size() == 1 ? "" : "s") + " numbered " +
                        std::to_string(number) + " belong to no header record (the file has " +
                        std::to_string(header_count) + "): they are never read");
  }
}

}  // namespace

void CheckStructure(const MarkerDocument& document, DiagnosticList& diagnostics) {
  CheckDuplicateHeaders(document, diagnostics);
  CheckOrphanSections(document, diagnostics);
}

}  // namespace dorvan_marker
