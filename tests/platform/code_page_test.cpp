// SPDX-License-Identifier: MIT
#include "platform/code_page.hpp"

#include <gtest/gtest.h>

using dorvan_marker::CodePage;

TEST(CodePage, KnowsTheNamesUsersGive) {
  const struct {
    const char* name;
    CodePage::Kind kind;
  } cases[] = {
      {"1252", CodePage::Kind::SingleByte}, {"ISO-8859-1", CodePage::Kind::SingleByte},
      {"ANSI_X3.4-1968", CodePage::Kind::SingleByte}, {"UTF-8", CodePage::Kind::Utf8},
      {"utf8", CodePage::Kind::Utf8},       {"932", CodePage::Kind::ShiftJis},
      {"SHIFT_JIS", CodePage::Kind::ShiftJis}, {"cp936", CodePage::Kind::Gbk},
      {"GB18030", CodePage::Kind::Gbk},     {"949", CodePage::Kind::Uhc},
      {"EUC-KR", CodePage::Kind::Uhc},      {"BIG5", CodePage::Kind::Big5},
      {"950", CodePage::Kind::Big5},        {"windows-1250", CodePage::Kind::SingleByte},
      {"KOI8-R", CodePage::Kind::SingleByte}, {"437", CodePage::Kind::SingleByte},
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
