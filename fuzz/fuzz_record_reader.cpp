// SPDX-License-Identifier: MIT
// Any bytes read as a record file by the library's reader, compared record for record with
// the plain line-by-line reference reader of the tests, then every lookup the import makes
// on it. The one error a broken file may raise is InvalidArgumentError; anything else
// escaping, a record the two readers see differently, and every sanitizer report, is a find.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "marker/record_file.hpp"
#include "platform/text_file.hpp"
#include "support/reference_record_reader.hpp"

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

  try {
    if (test::ReadWhole(text) != test::ReadLineByLine(text)) __builtin_trap();
  } catch (const dorvan_marker::InvalidArgumentError&) {
    // A record number beyond 32 bits: the library refuses what the reference reads.
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
  for (const std::uint32_t number : records.SectionNumbers()) (void)records.SectionAt(number);
  return 0;
}
