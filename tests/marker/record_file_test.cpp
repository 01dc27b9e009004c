// SPDX-License-Identifier: MIT
#include "marker/record_file.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using dorvan_marker::CSection;
using dorvan_marker::InvalidArgumentError;
using dorvan_marker::RecordFile;
using dorvan_marker::TextFile;

void ParseText(RecordFile& records, const std::string& text) {
  TextFile file;
  file.OpenText(text);
  records.Parse(file);
}

}  // namespace

TEST(RecordFile, ReadsTheNineLineExample) {
  RecordFile records("lay.txt");
  ParseText(records,
            "#saved by the cutting room\n"
            "PLC:PNAM\n"
            "1:spring.lay 2\n"
            "LEZ:LLEZ\n"
            "2:1500\n"
            "\n"
            "VMDL:VNUM:VNMD\n"
            "3:1:SHIRT\n"
            "3::TROUSERS\n");
  ASSERT_EQ(records.HeaderRecords().size(), 4u);
  EXPECT_TRUE(records.HeaderRecords()[0].empty());
  EXPECT_EQ(records.HeaderRecords()[3][0], "VMDL");
  EXPECT_EQ(records.HeaderRecords()[3].Line(), 7u);
  EXPECT_EQ(records.SectionCount(), 4u);
  EXPECT_TRUE(records.SectionAt(0)->empty());
  EXPECT_EQ(records.SectionAt(1)->size(), 1u);
  EXPECT_EQ(records.SectionAt(2)->size(), 1u);
  const CSection* models = records.FindSection("VMDL");
  ASSERT_NE(models, nullptr);
  ASSERT_EQ(models->size(), 2u);
  EXPECT_EQ(records.GetFieldValue(*models, (*models)[0], "VNMD"), "SHIRT");
  EXPECT_EQ(records.GetFieldValue(*models, (*models)[1], "VNMD"), "TROUSERS");
  EXPECT_EQ(records.GetFieldValue(*models, (*models)[1], "VNUM"), "");
  EXPECT_EQ((*models)[1].Line(), 9u);
}

TEST(RecordFile, NumbersRecordsByTheirLeadingDigits) {
  const struct {
    const char* first_field;
    std::size_t section;
  } cases[] = {{"007", 7}, {"2.9", 2}, {".", 0}, {"", 0}, {"1.5", 1}, {"0", 0}};
  for (const auto& c : cases) {
    RecordFile records;
    ParseText(records, std::string(c.first_field) + ":x\n");
    EXPECT_EQ(records.SectionCount(), c.section + 1) << c.first_field;
    EXPECT_EQ(records.SectionAt(c.section)->size(), 1u) << c.first_field;
    EXPECT_EQ(records.HeaderRecords().size(), 1u) << c.first_field;
  }
}

TEST(RecordFile, OtherFirstFieldsMakeHeaders) {
  for (const char* first : {"-1", "+1", "1a", " 1", "A"}) {
    RecordFile records;
    ParseText(records, std::string(first) + ":x\n");
    EXPECT_EQ(records.HeaderRecords().size(), 2u) << first;
    EXPECT_EQ(records.SectionCount(), 0u) << first;
  }
}

TEST(RecordFile, GrowsSectionsToTheLargestNumber) {
  RecordFile records;
  ParseText(records, "1:a\n2:b\n5:c\n");
  EXPECT_EQ(records.SectionCount(), 6u);
  EXPECT_TRUE(records.SectionAt(3)->empty());
  EXPECT_TRUE(records.SectionAt(4)->empty());
  EXPECT_EQ(records.SectionAt(6), nullptr);
}

TEST(RecordFile, StoresHugeNumbersWithoutMakingRoomForTheGap) {
  RecordFile records;
  ParseText(records, "2000000000:a\n2147483647:b\n");
  EXPECT_EQ(records.SectionCount(), 2147483648u);
  EXPECT_EQ(records.SectionAt(2000000000)->size(), 1u);
  EXPECT_TRUE(records.SectionAt(1999999999)->empty());
}

TEST(RecordFile, RejectsNumbersBeyond32Bits) {
  for (const char* number : {"2147483648", "99999999999999999999"}) {
    RecordFile records("big.txt");
    try {
      ParseText(records, "A:B\n" + std::string(number) + ":x\n");
      ADD_FAILURE() << number;
    } catch (const InvalidArgumentError& error) {
      EXPECT_EQ(error.what(), "big.txt:2: record number \"" + std::string(number) + "\" does not fit in 32 bits");
    }
  }
}

TEST(RecordFile, KeepsTheOrderOfSectionsInRunsAndScattered) {
  // Section 1 is one run of lines; sections 2 and 3 take turns, and 2 comes back after 1.
  RecordFile records("runs.txt");
  ParseText(records, "1:a\n1:b\n1:c\n2:d\n3:e\n2:f\n3:g\n# note\n2:h\n1:i\n");
  auto texts = [&](std::size_t number) {
    std::string by_index, by_walk;
    const CSection& section = *records.SectionAt(number);
    for (std::size_t i = 0; i < section.size(); ++i) by_index += std::string(section[i][1]);
    for (const auto& record : section) by_walk += std::string(record[1]);
    EXPECT_EQ(by_index, by_walk) << number;
    return by_index;
  };
  EXPECT_EQ(texts(1), "abci");
  EXPECT_EQ(texts(2), "dfh");
  EXPECT_EQ(texts(3), "eg");
  EXPECT_EQ((*records.SectionAt(2))[2].Line(), 9u);
  EXPECT_THROW((*records.SectionAt(3))[2], InvalidArgumentError);
  EXPECT_THROW((*records.SectionAt(1))[4], InvalidArgumentError);
}

TEST(RecordFile, ReadsSeveralColumnsAtOnceAsOneByOne) {
  // Columns gives each column as FieldColumn::Of does: records shorter than the header,
  // empty fields, the first field, and a tag the header lacks.
  RecordFile records("m.txt");
  ParseText(records,
            "G:A:B:C:D\n"
            "1:a1:b1:c1:d1\n"
            "1:a2\n"
            "1:::c3:\n"
            "1\n"
            "1:a5:b5:c5:d5:extra\n");
  const CSection& section = *records.FindSection("G");
  const dorvan_marker::FieldColumn columns[5] = {records.Column(section, "G"), records.Column(section, "D"),
                                                 records.Column(section, "B"), records.Column(section, "Z"),
                                                 records.Column(section, "A")};
  ASSERT_EQ(section.size(), 5u);
  for (std::size_t r = 0; r < section.size(); ++r) {
    std::string_view fields[5];
    section[r].Columns(columns, fields);
    for (int k = 0; k < 5; ++k) {
      EXPECT_EQ(fields[k], columns[k].Of(section[r])) << "record " << r << ", column " << k;
      EXPECT_EQ(fields[k].data() == nullptr, columns[k].Of(section[r]).data() == nullptr) << "record " << r;
    }
  }
  std::string_view fields[5];
  section[0].Columns(columns, fields);
  EXPECT_EQ(fields[0], "1");
  EXPECT_EQ(fields[1], "d1");
  EXPECT_TRUE(fields[3].empty());
}
