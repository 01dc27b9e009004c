// SPDX-License-Identifier: MIT
#include "models/model_file_path.hpp"

#include <gtest/gtest.h>

#include <string>

using dorvan_marker::CodePage;
using dorvan_marker::FileNameRules;
using dorvan_marker::MakeModelFilePath;

namespace {

const CodePage kSjis(CodePage::Kind::ShiftJis);
constexpr FileNameRules kPosix = FileNameRules::Posix();
constexpr FileNameRules kWindows = FileNameRules::Windows();

}  // namespace

TEST(MakeModelFilePath, PutsTheModelBesideTheMarker) {
  const struct {
    const char* marker;
    const char* base;
    FileNameRules rules;
    const char* path;
  } cases[] = {
      {"/lays/spring.lay 2.txt", "JACKET", kPosix, "/lays/JACKET.mdl"},
      {"/lays/x/m.txt", "", kPosix, "/lays/x/.mdl"},
      {"m.txt", "JACKET", kPosix, "JACKET.mdl"},  // no folder: the current one, never the marker itself
      {"/m.txt", "A B", kPosix, "/A B.mdl"},
      {"/lays/", "J", kPosix, "/lays/J.mdl"},
      {"a\\m.txt", "J", kPosix, "J.mdl"},  // on POSIX '\' is a byte of the name
      {"c:\\lays/x\\m.txt", "J", kWindows, "c:\\lays/x\\J.mdl"},
      {"c:m.txt", "J", kWindows, "c:J.mdl"},  // the drive's current folder
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MakeModelFilePath(c.marker, c.base, CodePage(), c.rules), c.path) << c.marker;
  }
}

TEST(MakeModelFilePath, NeverTakesATrailByteForASeparator) {
  // In code page 932 the character 0x95 0x2F would end in '/' if read byte by byte.
  EXPECT_EQ(MakeModelFilePath("/lays/\x95/m.txt", "J", kSjis, kPosix), "/lays/J.mdl");
  EXPECT_EQ(MakeModelFilePath("/lays/\x95/m.txt", "J", CodePage(), kPosix), "/lays/\x95/J.mdl");
}
