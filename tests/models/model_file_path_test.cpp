// SPDX-License-Identifier: MIT
#include "models/model_file_path.hpp"

#include <gtest/gtest.h>

#include <string>

#include "marker/marker_document.hpp"

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

TEST(ModelFilePath, KnowsTheFolderOfEachMarkerPathItIsGiven) {
  // The document keeps the folder of the last marker path: a call with another path, or
  // with the same text at another address, must give what MakeModelFilePath gives.
  dorvan_marker::MarkerDocument document("/lays/a.txt");
  std::string marker = "/lays/a.txt";
  const char* const markers[] = {"/lays/a.txt", "/other/b.txt", "c.txt", "/lays/a.txt", "/x/y/z/"};
  for (const char* path : markers) {
    for (const char* base : {"J", "TROUSERS"}) {
      EXPECT_EQ(document.ModelFilePath(path, base), MakeModelFilePath(path, base, CodePage())) << path << " " << base;
    }
  }
  EXPECT_EQ(document.ModelFilePath(marker.c_str(), "J"), "/lays/J.mdl");
  marker = "/elsewhere/a.txt";  // the same buffer, another text
  EXPECT_EQ(document.ModelFilePath(marker.c_str(), "J"), "/elsewhere/J.mdl");
}
