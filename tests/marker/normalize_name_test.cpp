// SPDX-License-Identifier: MIT
#include "marker/normalize_name.hpp"

#include <gtest/gtest.h>

#include <string>

using dorvan_marker::CodePage;
using dorvan_marker::IsNameChar;
using dorvan_marker::NormalizeName;

TEST(NormalizeName, MakesHostNames) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"spring.lay 2", "SPRING-LAY 2"},
      {"#12/B", "X12-B"},
      {"a+b=c", "A-B-C"},
      {"", ""},
      {"-x", "XX"},
      {"--", "X-"},
      {"front_panel-2", "FRONT_PANEL-2"},
      {"Back/yoke", "BACK-YOKE"},
      {"tab\there", "TAB-HERE"},
      {"\xE9t\xE9", "XT-"},                              // é is no name character in a single-byte code page
      {"\x80\x8E\x99\x9A\xA5", "\x80\x8E\x99\x9A\xA5"},  // the code page 437 capitals stay
      {"\x81", "X"},                                     // other high bytes become '-', and a leading '-' an 'X'
      {std::string("a\0b", 3), std::string("A\0B", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizeName(c.in, CodePage()), c.out) << c.in;
}

TEST(NormalizeName, KeepsDoubleByteCharactersWhole) {
  const CodePage sjis(CodePage::Kind::ShiftJis);
  // 0x83 0x61 is a katakana whose trail byte looks like 'a': it must not be upper-cased.
  EXPECT_EQ(NormalizeName("\x83\x61"
                          "a",
                          sjis),
            "\x83\x61"
            "A");
  // 0x95 0x5C has the trail byte '\': not replaced, while a lone '\' is.
  EXPECT_EQ(NormalizeName("\x95\x5C\\", sjis), "\x95\x5C-");
  // A lead byte as the very last byte stays, alone.
  EXPECT_EQ(NormalizeName("ab\x83", sjis), "AB\x83");
  // Half-width katakana (0xA0-0xDF) are single bytes kept in a multibyte code page.
  EXPECT_EQ(NormalizeName("\xB1", sjis), "\xB1");
}

TEST(NormalizeName, KeepsUtf8Text) {
  const CodePage utf8(CodePage::Kind::Utf8);
  EXPECT_EQ(NormalizeName("r\xC3\xA9sum\xC3\xA9.x", utf8), "R\xC3\xA9SUM\xC3\xA9-X");
}

TEST(IsNameChar, FollowsTheCodePage) {
  const CodePage single;
  const CodePage utf8(CodePage::Kind::Utf8);
  for (int byte = 0; byte < 256; ++byte) {
    const auto b = static_cast<unsigned char>(byte);
    const bool plain = b == 0 || b == ' ' || b == '-' || b == '_' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
                       b == 0x80 || b == 0x8E || b == 0x99 || b == 0x9A || b == 0xA5;
    EXPECT_EQ(IsNameChar(b, single), plain) << byte;
    EXPECT_EQ(IsNameChar(b, utf8), plain || b >= 0x80) << byte;
  }
}
