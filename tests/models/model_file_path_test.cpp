// SPDX-License-Identifier: MIT
#include "models/model_file_path.hpp"

#include <gtest/gtest.h>

#include <string>

using dorvan_marker::CodePage;
using dorvan_marker::MakeModelFilePath;

TEST(MakeModelFilePath, PutsTheModelBesideTheMarker) {
  const struct {
    const char* marker;
    const char* base;
    const char* path;
  } cases[] = {
      {"/lays/spring.lay 2.txt", "JACKET", "/lays/JACKET.mdl"},
      {"/lays/x/m.txt", "", "/lays/x/.mdl"},
      {"m.txt", "JACKET", "JACKET.mdl"},  // no folder: the current one, never the marker itself
      {"/m.txt", "A B", "/A B.mdl"},
      {"/lays/", "J", "/lays/J.mdl"},
  };
  for (const auto& c : cases) EXPECT_EQ(MakeModelFilePath(c.marker, c.base, CodePage()), c.path) << c.marker;
}

TEST(MakeModelFilePath, NeverTakesATrailByteForASeparator) {
  // In code page 932 the character 0x95 0x2F would end in '/' if read byte by byte.
  const CodePage sjis(CodePage::Kind::ShiftJis);
  EXPECT_EQ(MakeModelFilePath("/lays/\x95/m.txt", "J", sjis), "/lays/J.mdl");
  EXPECT_EQ(MakeModelFilePath("/lays/\x95/m.txt", "J", CodePage()), "/lays/\x95/J.mdl");
}
