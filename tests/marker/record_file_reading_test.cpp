// SPDX-License-Identifier: MIT
// RecordFile::Parse reads a whole text in one pass of its own; it must give the records the
// format defines, and exactly the records, fields and line numbers that the plain
// line-by-line reference reader gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "marker/record_stops.hpp"
#include "support/reference_record_reader.hpp"

namespace {

using test::ReadLineByLine;
using test::ReadWhole;

TEST(RecordFileReading, ReadsTheFormat) {
  const struct {
    const char* name;
    const char* text;
    std::vector<std::string> records;  // "line|field|field|..."
  } cases[] = {
      {"plain", "VMDL:VNUM:VNMD\n", {"1|VMDL|VNUM|VNMD"}},
      {"adjacent colons give an empty field", "3::TROUSERS\n", {"1|3||TROUSERS"}},
      {"a leading colon gives an empty first field", ":x\n", {"1||x"}},
      {"a trailing colon adds no field", "a:b:\n", {"1|a|b"}},
      {"a lone colon is one empty field", ":\n", {"1|"}},
      {"blank and empty lines are skipped", "\n   \n\t\r\na\n", {"4|a"}},
      {"# in the first column is a comment", "#x:y\na\n", {"2|a"}},
      {"# after a blank is data", " #x:y\n", {"1| #x|y"}},
      {"trailing white space goes, leading stays", "  a: b \t\r\n", {"1|  a| b"}},
      {"a last line without line end counts", "a\nb", {"1|a", "2|b"}},
      {"control-Z ends the file",
       "a\n\x1A"
       "b\n",
       {"1|a"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadWhole(c.text), c.records) << c.name;
}

TEST(RecordFileReading, ReadsAVeryLongLine) {
  const std::string field(5'000'000, 'x');
  const auto records = ReadWhole(field + ":" + field + "\n");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0], "1|" + field + "|" + field);
}

TEST(RecordFileReading, SplitsLikeTheLineReader) {
  const char* const texts[] = {
      "",
      "\n",
      ":",
      "::",
      "a:",
      ":a",
      "a::b",
      "#a:b\n1:2",
      " #a:b",
      "a:b \r\n1:x\t\r\n",
      "a\rb:c\n",
      "VMDL:VNUM\n1:1:x:\n\n   \n2:",
      "1.5:a\n.:b\n:c\n",
      "tag:with a very long field that crosses words:x\n",
      "a:b\n\x1a:after the end",
      "last line without end:1",
  };
  for (const std::string text : texts) EXPECT_EQ(ReadWhole(text), ReadLineByLine(text)) << text;
}

TEST(RecordFileReading, SplitsRandomTextsLikeTheLineReader) {
  static const char kBytes[] = {':', ':', '\n', '\n', '\r', ' ', '\t', '\v', '#', 'a', 'B', '1', '2', '.', '0'};
  std::uint64_t state = 7;
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const std::size_t length = static_cast<std::size_t>(round % 97);
    for (std::size_t i = 0; i < length; ++i) {
      state = state * 6364136223846793005ull + 1442695040888963407ull;
      text += kBytes[(state >> 33) % sizeof kBytes];
    }
    ASSERT_EQ(ReadWhole(text), ReadLineByLine(text)) << "text: " << text;
  }
}

TEST(RecordStops, VectorAndPortableScansAgree) {
  // Every byte value, at every place of a block: high bytes must not pass for stops.
  std::uint64_t state = 11;
  for (int round = 0; round < 20000; ++round) {
    char block[dorvan_marker::kStopBlock];
    for (char& c : block) {
      state = state * 6364136223846793005ull + 1442695040888963407ull;
      const auto pick = static_cast<unsigned>(state >> 33);
      c = pick % 4 == 0 ? ':' : pick % 4 == 1 ? '\n' : static_cast<char>(pick >> 8);
    }
    const dorvan_marker::RecordStops vector = dorvan_marker::StopsAt(block);
    const dorvan_marker::RecordStops portable = dorvan_marker::PortableStopsAt(block);
    ASSERT_EQ(vector.colons, portable.colons) << round;
    ASSERT_EQ(vector.line_feeds, portable.line_feeds) << round;
  }
  char colons_only[dorvan_marker::kStopBlock];
  std::fill(std::begin(colons_only), std::end(colons_only), ':');
  colons_only[3] = '\n';
  EXPECT_EQ(dorvan_marker::StopsAt(colons_only).colons, 0xFFFFu & ~(1u << 3));
  EXPECT_EQ(dorvan_marker::StopsAt(colons_only).line_feeds, 1u << 3);
}

}  // namespace
