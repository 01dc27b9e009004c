// SPDX-License-Identifier: MIT
#include "models/model_file_path.hpp"

#include <gtest/gtest.h>

#include <optional>
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
    EXPECT_EQ(MakeModelFilePath(c.marker, c.base, CodePage(), c.rules), std::optional<std::string>(c.path)) << c.marker;
  }
}

TEST(MakeModelFilePath, NeverTakesATrailByteForASeparator) {
  // In code page 932 the character 0x95 0x5C ends in '\' when read byte by byte; '/' is
  // never a second byte, and the system reads it as a separator wherever it stands.
  EXPECT_EQ(MakeModelFilePath("c:\\lays\\\x95\\m.txt", "J", kSjis, kWindows), "c:\\lays\\J.mdl");
  EXPECT_EQ(MakeModelFilePath("c:\\lays\\\x95\\m.txt", "J", CodePage(), kWindows), "c:\\lays\\\x95\\J.mdl");
  EXPECT_EQ(MakeModelFilePath("/lays/\x95/m.txt", "J", kSjis, kPosix), "/lays/\x95/J.mdl");
}

TEST(MakeModelFilePath, MakesNoPathForANameThatIsNotAPlainFileName) {
  const struct {
    std::string base;
    CodePage codes;
    bool posix;    // a path is made under the POSIX rules
    bool windows;  // ... under the Windows rules
  } cases[] = {
      {"JACKET", {}, true, true},
      {"Blouse 7", {}, true, true},
      {"PANT.X", {}, true, true},
      {"sh#1", {}, true, true},
      {"\x80\xA5\xFF", {}, true, true},
      {"\x95\x5C", kSjis, true, true},  // one character whose second byte is '\'
      {".", {}, true, true},            // "..mdl" beside the marker
      {"..", {}, true, true},
      {"../x", {}, false, false},
      {"a/b", {}, false, false},
      {"\x95/x", kSjis, false, false},            // '/' is never a second byte
      {std::string("M\0", 2), {}, false, false},  // the path would end before ".mdl"
      {"C:x", {}, true, false},
      {"a:b", {}, true, false},
      {"JACKET:zone", {}, true, false},  // an alternate data stream, not the model file
      {"\\\\server\\share\\m", {}, true, false},
      {"a\\b", {}, true, false},
      {"\x95\\", {}, true, false},         // single-byte: the '\' stands alone
      {"\x95\x95\\", kSjis, true, false},  // the second 0x95 is the trail byte: the '\' stands alone
  };
  for (const auto& c : cases) {
    const struct {
      const char* name;
      FileNameRules rules;
      bool made;
    } ways[] = {{"POSIX", kPosix, c.posix}, {"Windows", kWindows, c.windows}};
    for (const auto& way : ways) {
      const auto expected = way.made ? std::optional<std::string>("/lays/" + c.base + ".mdl") : std::nullopt;
      EXPECT_EQ(MakeModelFilePath("/lays/m.txt", c.base, c.codes, way.rules), expected)
          << testing::PrintToString(c.base) << " under the " << way.name << " rules";
    }
  }
}
