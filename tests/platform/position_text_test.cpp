// SPDX-License-Identifier: MIT
// The position of a message in a marker: line and record numbers of every length, as a
// large marker has them, and the parts left out when they are not known.
#include "platform/position_text.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PositionText, WritesNumbersOfEveryLength) {
  struct Row {
    std::size_t line;
    long record;
    const char* file_and_line;
    const char* section_and_record;
  };
  const Row rows[] = {
      {0, -1, "m.txt", "\"IGEO\""},
      {7, 0, "m.txt:7", "\"IGEO\" record 1"},
      {41, 9, "m.txt:41", "\"IGEO\" record 10"},
      {100, 99, "m.txt:100", "\"IGEO\" record 100"},
      {16810, 27819, "m.txt:16810", "\"IGEO\" record 27820"},
      {4294967296, 1234567889, "m.txt:4294967296", "\"IGEO\" record 1234567890"},
  };
  for (const Row& row : rows) {
    const dorvan_marker::ErrorLocation where{"m.txt", row.line, "IGEO", row.record, "IXOR"};
    std::string appended = "x";  // appended, not replaced
    dorvan_marker::AppendFileAndLine(appended, where);
    EXPECT_EQ(appended, std::string("x") + row.file_and_line);
    EXPECT_EQ(dorvan_marker::SectionAndRecord(where), row.section_and_record) << row.line;
  }
}

}  // namespace
