// SPDX-License-Identifier: MIT
// The model and order command file.
#include <gtest/gtest.h>

#include "support/marker_fixture.hpp"
#include "support/marker_text.hpp"
#include "support/test_support.hpp"

using test::CrLfLines;
using test::MarkerText;
using test::ParsedMarker;

namespace {

struct Placed {
  std::string piece;
  std::string size;
};

// A marker of one model JACKET whose articles are its sizes ("MDL", sizes straight from
// "VTAN"), with one piece record and one placement per entry of `placed`.
std::string JacketMarker(const std::vector<std::string>& sizes, const std::vector<Placed>& placed) {
  std::vector<MarkerText::Row> articles, models, pieces, placements;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    articles.push_back({"MDL", "JACKET"});
    models.push_back({std::to_string(i + 1), "JACKET", sizes[i]});
  }
  for (std::size_t j = 0; j < placed.size(); ++j) {
    std::size_t article = 0;
    while (sizes[article] != placed[j].size) ++article;
    const std::string piece_number = placed[j].piece == "FRONT" ? "1" : placed[j].piece == "BACK" ? "2" : "3";
    pieces.push_back({placed[j].piece, piece_number, std::to_string(article + 1)});
    placements.push_back({std::to_string(j + 1)});
  }
  return MarkerText()
      .Section("LEZ", {"LLEZ"}, {{"15000"}})
      .Section("VART", {"VEXT", "VGFN"}, articles)
      .Section("VMDL", {"VNUM", "VNMD", "VTAN"}, models)
      .Section("IBA", {"IART", "INAM", "VNUM"}, pieces)
      .Section("IGEO", {"INUM"}, placements)
      .Text();
}

std::string WriteCommandFile(ParsedMarker& marker) {
  marker.BuildModels();
  return marker.CommandFile();
}

}  // namespace

TEST(WriteCommandFile, WritesTheJacketExample) {
  ParsedMarker marker(JacketMarker({"38", "40", "42"}, {{"FRONT", "38"},
                                                        {"BACK", "38"},
                                                        {"FRONT", "40"},
                                                        {"BACK", "40"},
                                                        {"FRONT", "42"},
                                                        {"BACK", "42"},
                                                        {"SLEEVE", "42"}}),
                      "/m/JACKET.txt");
  marker.loader->sizes["/m/JACKET.mdl"] = {};
  marker.loader->by_number[{"/m/JACKET.mdl", "JACKET", 3}] = {0.0, 1.0 / 1.015, 1.0 / 1.0075};
  EXPECT_EQ(
      WriteCommandFile(marker),
      CrLfLines({"=:model",     "m:JACKET-38", "p:FRONT",     "i:1",     "xs:0.000000", "ys:0.000000",  "p:BACK",
                 "i:1",         "xs:0.000000", "ys:0.000000", "=:model", "m:JACKET-42", "p:FRONT",      "i:1",
                 "xs:0.000000", "ys:0.000000", "p:BACK",      "i:1",     "xs:0.000000", "ys:0.000000",  "p:SLEEVE",
                 "i:1",         "xs:1.500000", "ys:0.750000", "=:order", "o:JACKET",    "d:inv-import", "w:59.055118",
                 "8:",          "m:JACKET-38", "q:1",         "s:38",    "q:1",         "s:40",         "m:JACKET-42",
                 "q:1",         "s:42"}));
}

TEST(WriteCommandFile, GroupsSizesIntoModelRuns) {
  const struct {
    const char* name;
    std::vector<std::string> sizes;
    std::vector<Placed> placed;
    std::string order;  // the lines after "8:", joined with '|'
  } cases[] = {
      {"another order makes a new model",
       {"38", "40"},
       {{"FRONT", "38"}, {"BACK", "38"}, {"BACK", "40"}, {"FRONT", "40"}},
       "m:JACKET-38|q:1|s:38|m:JACKET-40|q:1|s:40|"},
      {"a size without pieces ends a run",
       {"38", "40", "42"},
       {{"FRONT", "38"}, {"FRONT", "42"}},
       "m:JACKET-38|q:1|s:38|m:JACKET-42|q:1|s:42|"},
      {"a piece laid twice counts twice",
       {"38", "40"},
       {{"FRONT", "38"}, {"FRONT", "38"}, {"FRONT", "40"}},
       "m:JACKET-38|q:1|s:38|m:JACKET-40|q:1|s:40|"},
      {"three sizes, one run",
       {"S", "M", "L"},
       {{"FRONT", "S"}, {"FRONT", "M"}, {"FRONT", "L"}},
       "m:JACKET-S|q:1|s:S|q:1|s:M|q:1|s:L|"},
  };
  for (const auto& c : cases) {
    ParsedMarker marker(JacketMarker(c.sizes, c.placed), "/m/JACKET.txt");
    const std::string file = WriteCommandFile(marker);
    std::string order;
    std::size_t at = file.find("8:\r\n");
    ASSERT_NE(at, std::string::npos) << c.name;
    for (std::size_t start = at + 4, end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2) {
      order += file.substr(start, end - start) + "|";
    }
    EXPECT_EQ(order, c.order) << c.name;
  }
}

TEST(WriteCommandFile, NormalisesTheTitleOnceMoreForModelsOnly) {
  ParsedMarker marker(JacketMarker({"38"}, {{"FRONT", "38"}}), "/m/JACKET.txt");
  marker->Title = "jacket.a";
  const std::string file = WriteCommandFile(marker);
  EXPECT_NE(file.find("m:JACKET-A-38\r\n"), std::string::npos);
  EXPECT_NE(file.find("o:jacket.a\r\n"), std::string::npos);
}

TEST(WriteCommandFile, WritesTheDefaultWidth) {
  ParsedMarker marker(MarkerText()
                          .Section("VART", {"VEXT"}, {{"MDL"}})
                          .Section("VMDL", {"VNUM", "VTAN"}, {{"1", "38"}})
                          .Section("IBA", {"IART", "VNUM"}, {{"fr", "1"}})
                          .Section("IGEO", {"INUM"}, {{"1"}})
                          .Text());
  EXPECT_NE(WriteCommandFile(marker).find("w:535.748031\r\n"), std::string::npos);
}
