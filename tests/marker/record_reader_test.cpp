// SPDX-License-Identifier: MIT
#include "marker/record_reader.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Record = std::vector<std::string>;

// Every record of text, in order.
std::vector<Record> Records(const std::string& text) {
  dorvan_marker::TextFile file;
  file.OpenText(text);
  dorvan_marker::RecordFields fields;
  std::vector<Record> records;
  while (int count = dorvan_marker::ReadRecord(file, fields)) {
    EXPECT_EQ(static_cast<std::size_t>(count), fields.size());
    records.emplace_back(fields.begin(), fields.end());
  }
  EXPECT_TRUE(fields.empty()) << "the record is emptied at the end of the file";
  return records;
}

}  // namespace

TEST(ReadRecord, SplitsLinesAtColons) {
  const struct {
    const char* name;
    const char* text;
    std::vector<Record> records;
  } cases[] = {
      {"plain", "VMDL:VNUM:VNMD\n", {{"VMDL", "VNUM", "VNMD"}}},
      {"adjacent colons give an empty field", "3::TROUSERS\n", {{"3", "", "TROUSERS"}}},
      {"a leading colon gives an empty first field", ":x\n", {{"", "x"}}},
      {"a trailing colon adds no field", "a:b:\n", {{"a", "b"}}},
      {"a lone colon is one empty field", ":\n", {{""}}},
      {"blank and empty lines are skipped", "\n   \n\t\r\na\n", {{"a"}}},
      {"a line of a carriage return is blank", "\r\na\n", {{"a"}}},
      {"# in the first column is a comment", "#x:y\na\n", {{"a"}}},
      {"# after a blank is data", " #x:y\n", {{" #x", "y"}}},
      {"trailing white space goes, leading stays", "  a: b \t\r\n", {{"  a", " b"}}},
      {"white space inside fields stays", "VMDL: VNMD\n", {{"VMDL", " VNMD"}}},
      {"a last line without line end counts", "a\nb", {{"a"}, {"b"}}},
      {"control-Z ends the file", "a\n\x1A" "b\n", {{"a"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Records(c.text), c.records) << c.name;
}

TEST(ReadRecord, ReadsAVeryLongLine) {
  const std::string field(5'000'000, 'x');
  const auto records = Records(field + ":" + field + "\n");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0][1].size(), field.size());
}
