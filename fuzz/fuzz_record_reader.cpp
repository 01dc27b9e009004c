// SPDX-License-Identifier: MIT
// Any bytes read as a record file, then every lookup the import makes on it. The one
// error a broken file may raise is InvalidArgumentError; anything else escaping, and every
// sanitizer report, is a find.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "marker/record_file.hpp"
#include "marker/record_reader.hpp"
#include "platform/text_file.hpp"

namespace {

constexpr const char* kTags[] = {"VART", "VMDL", "VVET", "IBA", "IGEO", "LEZ", "MSIZ", "MPCE"};
constexpr const char* kColumns[] = {"VNUM", "VNMD", "VEXT", "VGFN", "VTAN", "VTAI", "VTBA", "VCTA",
                                    "IART", "INAM", "INUM", "IFLG", "IGRF", "LLEZ", "SNAM", "PNAM"};

void LookUpEverything(const dorvan_marker::RecordFile& records) {
  for (const char* tag : kTags) {
    try {
      const dorvan_marker::CSection* section = records.FindSection(tag);
      if (section == nullptr) continue;
      (void)records.TagOf(*section);
      for (const dorvan_marker::CElementsArray& record : *section) {
        for (const char* column : kColumns) (void)records.GetFieldValue(*section, record, column);
        for (std::size_t i = 0; i < record.size(); ++i) (void)record[i];
      }
    } catch (const dorvan_marker::InvalidArgumentError&) {
      // A header no record reaches, or a section without header: both are the file's fault.
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  dorvan_marker::TextFile lines;
  lines.OpenText(text);
  dorvan_marker::RecordFields fields;
  while (dorvan_marker::ReadRecord(lines, fields) != 0) {
    if (fields.empty()) __builtin_trap();  // a record has at least one field
  }

  dorvan_marker::TextFile file;
  file.OpenText(text);
  dorvan_marker::RecordFile records("fuzz.txt");
  try {
    records.Parse(file);
  } catch (const dorvan_marker::InvalidArgumentError&) {
    return 0;
  }
  LookUpEverything(records);
  for (std::size_t n = 0; n < records.SectionCount() && n < 64; ++n) (void)records.SectionAt(n);
  return 0;
}
