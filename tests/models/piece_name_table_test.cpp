// SPDX-License-Identifier: MIT
// The names that model files give the marker's pieces.
#include <gtest/gtest.h>

#include <map>

#include "support/marker_fixture.hpp"
#include "support/marker_text.hpp"

using dorvan_marker::InvalidArgumentError;
using test::MarkerText;
using test::ParsedMarker;
using Calls = std::vector<std::string>;
using Names = std::map<std::string, std::string>;

namespace {

// Two articles: article 1 of model file MODEL (VGFN JACKET), article 2 without a "VMDL"
// record of its own.
std::string Marker(const std::vector<MarkerText::Row>& pieces) {
  return MarkerText()
      .Section("VART", {"VEXT", "VGFN"}, {{"VET", "JACKET"}, {"", "COAT"}})
      .Section("VMDL", {"VNUM", "VNMD"}, {{"01", "MODEL"}, {"1", "SHADOWED"}})
      .Section("IBA", {"IART", "INAM", "VNUM"}, pieces)
      .Text();
}

}  // namespace

TEST(BuildPieceNameTable, KeepsTheNamesThatDiffer) {
  ParsedMarker marker(
      Marker({{"fr", "1", "1"}, {"bk", "2", "1"}, {"SAME", " \t", "1"}, {"e", "4", "1"}, {"", "5", "1"}}));
  auto& names = marker.loader->names;
  names[{"/m/MODEL.mdl", "JACKET", 1}] = "Front";
  names[{"/m/MODEL.mdl", "JACKET", 2}] = "Back";
  marker.loader->sizes["/m/MODEL.mdl"] = {};
  names[{"/m/MODEL.mdl", "JACKET", 4}] = "";
  names[{"/m/MODEL.mdl", "JACKET", 5}] = "Unnamed";
  // "SAME" has a blank "INAM": it asks for piece 1, whose name differs.
  dorvan_marker::BuildPieceNameTable(*marker);
  EXPECT_EQ(marker->PieceNames,
            (Names{{"fr", "Front"}, {"bk", "Back"}, {"SAME", "Front"}, {"e", ""}, {"", "Unnamed"}}));
}

TEST(BuildPieceNameTable, AsksOncePerResolvedKeyAndAgainAfterAFailure) {
  ParsedMarker marker(Marker({{"fr", "1", "1"},
                              {"fr", "9", "99"},  // resolved already: skipped before its VNUM is read
                              {"x", "abc", "1"},  // piece 0 is unknown: stays open
                              {"x", "-2", "1"},   // tried again
                              {"same", "3", "1"},
                              {"same", "4", "99"},  // resolved even though no entry was made
                              {"coat", "1", "2"},   // article 2 has no VMDL record: nothing asked
                              {"y", "7", "1"},      // the model file has no piece 7
                              {"y", "7", "1"},      // asked again, and told once
                              {"coat", "1", "2"}}));
  marker.loader->sizes["/m/MODEL.mdl"] = {};
  marker.loader->names[{"/m/MODEL.mdl", "JACKET", 1}] = "Front";
  marker.loader->names[{"/m/MODEL.mdl", "JACKET", -2}] = "Minus two";
  marker.loader->names[{"/m/MODEL.mdl", "JACKET", 3}] = "same";
  dorvan_marker::BuildPieceNameTable(*marker);
  EXPECT_EQ(marker->PieceNames, (Names{{"fr", "Front"}, {"x", "Minus two"}}));
  EXPECT_EQ(marker.calls,
            (Calls{"Open(/m/MODEL.mdl)=1", "GetPieceNameFromMDL(JACKET,1)=1", "Open(/m/MODEL.mdl)=1",
                   "GetPieceNameFromMDL(JACKET,0)=0", "Open(/m/MODEL.mdl)=1", "GetPieceNameFromMDL(JACKET,-2)=1",
                   "Open(/m/MODEL.mdl)=1", "GetPieceNameFromMDL(JACKET,3)=1", "Open(/m/MODEL.mdl)=1",
                   "GetPieceNameFromMDL(JACKET,7)=0", "Open(/m/MODEL.mdl)=1", "GetPieceNameFromMDL(JACKET,7)=0"}));
  // The keys that keep their marker name, each at its first look-up: "x" was named later.
  std::vector<std::string> unnamed;
  for (const dorvan_marker::UnnamedPiece& piece : marker->UnnamedPieces) {
    unnamed.push_back(std::to_string(piece.record) + " " + std::string(piece.iart) + " " +
                      std::to_string(piece.article_number) + " " + piece.path + " " + piece.vgfn + " " +
                      std::to_string(piece.piece_number));
  }
  EXPECT_EQ(unnamed, (std::vector<std::string>{"6 coat 2   0", "7 y 1 /m/MODEL.mdl JACKET 7"}));
}

TEST(BuildPieceNameTable, SkipsPiecesWhoseModelCannotBeOpened) {
  ParsedMarker marker(Marker({{"fr", "1", "1"}, {"fr", "1", "1"}}));
  dorvan_marker::BuildPieceNameTable(*marker);
  EXPECT_TRUE(marker->PieceNames.empty());
  EXPECT_EQ(marker.calls, (Calls{"Open(/m/MODEL.mdl)=0", "Open(/m/MODEL.mdl)=0"}));
}

TEST(BuildPieceNameTable, StaysEmptyWithoutItsSections) {
  ParsedMarker marker(
      MarkerText().Section("VART", {"VGFN"}, {{"J"}}).Section("IBA", {"IART", "VNUM"}, {{"fr", "1"}}).Text());
  dorvan_marker::BuildPieceNameTable(*marker);
  EXPECT_TRUE(marker->PieceNames.empty());
  EXPECT_TRUE(marker.calls.empty());
}

TEST(BuildPieceNameTable, RaisesForAnArticleOutsideVart) {
  for (const char* vnum : {"", "0", "-1", "3", "abc", "99999999999"}) {
    ParsedMarker marker(Marker({{"fr", "1", vnum}}));
    try {
      dorvan_marker::BuildPieceNameTable(*marker);
      ADD_FAILURE() << vnum;
    } catch (const InvalidArgumentError& error) {
      EXPECT_EQ(std::string(error.what()), "/m/marker.txt:8: \"IBA\" record 1: \"VNUM\" \"" + std::string(vnum) +
                                               "\" points outside the 2 articles")
          << vnum;
    }
  }
}
