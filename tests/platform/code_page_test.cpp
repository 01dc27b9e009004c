// SPDX-License-Identifier: MIT
#include "platform/code_page.hpp"

#include <gtest/gtest.h>

using dorvan_marker::CodePage;

TEST(CodePage, KnowsTheNamesUsersGive) {
  const struct {
    const char* name;
    CodePage::Kind kind;
  } cases[] = {
      {"1252", CodePage::Kind::SingleByte},
      {"ISO-8859-1", CodePage::Kind::SingleByte},
      {"ANSI_X3.4-1968", CodePage::Kind::SingleByte},
      {"UTF-8", CodePage::Kind::Utf8},
      {"utf8", CodePage::Kind::Utf8},
      {"932", CodePage::Kind::ShiftJis},
      {"SHIFT_JIS", CodePage::Kind::ShiftJis},
      {"cp936", CodePage::Kind::Gbk},
      {"GB18030", CodePage::Kind::Gbk},
      {"949", CodePage::Kind::Uhc},
      {"EUC-KR", CodePage::Kind::Uhc},
      {"BIG5", CodePage::Kind::Big5},
      {"950", CodePage::Kind::Big5},
      {"windows-1250", CodePage::Kind::SingleByte},
      {"KOI8-R", CodePage::Kind::SingleByte},
      {"437", CodePage::Kind::SingleByte},
  };
  for (const auto& c : cases) {
    CodePage page;
    ASSERT_TRUE(CodePage::FromName(c.name, page)) << c.name;
    EXPECT_EQ(page.kind(), c.kind) << c.name;
  }
  CodePage page;
  EXPECT_FALSE(CodePage::FromName("", page));
  EXPECT_FALSE(CodePage::FromName("??", page));
  EXPECT_FALSE(CodePage::FromName("klingon", page));
  EXPECT_FALSE(CodePage::FromName("123456", page));
}

// What a caller may name is a short list of its own: the system's codesets are not in it.
TEST(CodePage, OffersItsOwnListToCallers) {
  const struct {
    const char* requested;
    const char* offered;  // "" when refused
    unsigned number;
  } cases[] = {{"1252", "1252", 1252}, {"CP932", "932", 932}, {"UTF8", "utf-8", 65001}, {"950", "950", 950},
               {"1253", "", 0},        {"99999", "", 0},      {"latin1", "", 0},        {"koi8", "", 0},
               {"c", "", 0},           {"shift_jis", "", 0}};
  for (const auto& c : cases) {
    CodePage page;
    EXPECT_EQ(CodePage::Offered(c.requested, page), c.offered) << c.requested;
    EXPECT_EQ(page.Number(), c.number) << c.requested;
  }
  EXPECT_EQ(CodePage::OfferedNames(), "1252, 932, 936, 949, 950 or utf-8");
}

TEST(CodePage, LeadBytesFollowTheDoubleByteSets) {
  const CodePage sjis(CodePage::Kind::ShiftJis);
  EXPECT_TRUE(sjis.IsLeadByte(0x81));
  EXPECT_TRUE(sjis.IsLeadByte(0x9F));
  EXPECT_FALSE(sjis.IsLeadByte(0xA0));  // half-width katakana stand alone
  EXPECT_TRUE(sjis.IsLeadByte(0xE0));
  EXPECT_FALSE(sjis.IsLeadByte(0xFD));
  EXPECT_TRUE(CodePage(CodePage::Kind::Gbk).IsLeadByte(0xFE));
  EXPECT_FALSE(CodePage(CodePage::Kind::Big5).IsLeadByte(0x80));
  EXPECT_FALSE(CodePage(CodePage::Kind::Utf8).IsLeadByte(0xC3));
  EXPECT_FALSE(CodePage().IsLeadByte(0x81));
  EXPECT_TRUE(CodePage(CodePage::Kind::Utf8).IsMultibyte());
  EXPECT_FALSE(CodePage().IsMultibyte());
}

TEST(CodePage, CutsNeverInsideACharacter) {
  EXPECT_EQ(dorvan_marker::CutToCharacters("abcdef", 4, CodePage()), "abcd");
  EXPECT_EQ(dorvan_marker::CutToCharacters("abc\x82\xA0z", 4, CodePage(CodePage::Kind::ShiftJis)), "abc");
  EXPECT_EQ(dorvan_marker::CutToCharacters("ab\xC3\xA9z", 3, CodePage(CodePage::Kind::Utf8)), "ab");
  EXPECT_EQ(dorvan_marker::CutToCharacters("ab", 4, CodePage()), "ab");
}

// The shapes of the lead-byte table that GetCPInfo hands over for the system's ANSI code
// page: the known sets keep their kind, another set is known by its table alone.
TEST(CodePage, TakesLeadBytesFromTheSystemsTable) {
  const unsigned char sjis[12] = {0x81, 0x9F, 0xE0, 0xFC};
  EXPECT_EQ(CodePage::FromLeadByteRanges(932, sjis, sizeof sjis), CodePage(CodePage::Kind::ShiftJis));

  const unsigned char johab[12] = {0x84, 0xD3, 0xD8, 0xD8, 0xD9, 0xDE, 0xE0, 0xF9};
  const CodePage other = CodePage::FromLeadByteRanges(1361, johab, sizeof johab);
  EXPECT_EQ(other.kind(), CodePage::Kind::OtherMultibyte);
  EXPECT_EQ(other.Name(), "1361");
  EXPECT_TRUE(other.IsMultibyte());
  for (unsigned byte : {0x84U, 0xD3U, 0xD8U, 0xDCU, 0xF9U})
    EXPECT_TRUE(other.IsLeadByte(static_cast<unsigned char>(byte))) << byte;
  for (unsigned byte : {0x83U, 0xD4U, 0xD7U, 0xDFU, 0xFAU})
    EXPECT_FALSE(other.IsLeadByte(static_cast<unsigned char>(byte))) << byte;

  // Ranges end at the first pair of zeros, even when the table goes on.
  const unsigned char stops[12] = {0xA1, 0xA1, 0, 0, 0xB0, 0xB0};
  const CodePage stopped = CodePage::FromLeadByteRanges(20000, stops, sizeof stops);
  EXPECT_TRUE(stopped.IsLeadByte(0xA1));
  EXPECT_FALSE(stopped.IsLeadByte(0xB0));

  // An empty table: a named set falls back to its own ranges, UTF-8 has none, and another
  // set is multibyte with every byte scanned on its own.
  const unsigned char none[12] = {};
  EXPECT_EQ(CodePage::FromLeadByteRanges(54936, none, sizeof none), CodePage(CodePage::Kind::Gbk));
  EXPECT_EQ(CodePage::FromLeadByteRanges(65001, none, sizeof none), CodePage(CodePage::Kind::Utf8));
  const CodePage bare = CodePage::FromLeadByteRanges(50220, none, sizeof none);
  EXPECT_TRUE(bare.IsMultibyte());
  EXPECT_FALSE(bare.IsLeadByte(0x81));
}
