// SPDX-License-Identifier: MIT
// RecordFile::Parse reads a whole text in one pass of its own; it must give exactly the
// records, fields and line numbers that reading line by line with ReadRecord gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "marker/record_file.hpp"
#include "marker/record_reader.hpp"
#include "marker/record_stops.hpp"
#include "platform/text_file.hpp"

namespace {

// Every record as "line|field|field|...", in file order, from ReadRecord.
std::vector<std::string> ReadLineByLine(const std::string& text) {
  dorvan_marker::TextFile file;
  file.OpenText(text);
  std::vector<std::string> records;
  dorvan_marker::RecordFields fields;
  while (dorvan_marker::ReadRecord(file, fields) != 0) {
    std::string record = std::to_string(file.LineNumber());
    for (std::string_view field : fields) record += "|" + std::string(field);
    records.push_back(record);
  }
  return records;
}

// The same from Parse: headers and sections put back in file order by line.
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
  for (std::size_t n = 0; n < records.SectionCount(); ++n) {
    for (const auto& record : *records.SectionAt(n)) add(record);
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> lines;
  for (auto& [line, record] : found) lines.push_back(record);
  return lines;
}

TEST(RecordFileReading, SplitsLikeTheLineReader) {
  const char* const texts[] = {
      "", "\n", ":", "::", "a:", ":a", "a::b", "#a:b\n1:2", " #a:b", "a:b \r\n1:x\t\r\n", "a\rb:c\n",
      "VMDL:VNUM\n1:1:x:\n\n   \n2:", "1.5:a\n.:b\n:c\n", "tag:with a very long field that crosses words:x\n",
      "a:b\n\x1a:after the end", "last line without end:1",
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
