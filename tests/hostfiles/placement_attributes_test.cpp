// SPDX-License-Identifier: MIT
// From a placement record to its size and piece name.
#include <gtest/gtest.h>

#include "hostfiles/placement_attributes.hpp"
#include "support/marker_fixture.hpp"
#include "support/marker_text.hpp"

using dorvan_marker::CStringArray;
using dorvan_marker::InvalidArgumentError;
using test::MarkerText;
using test::ParsedMarker;

namespace {

struct Resolved {
  std::string size;
  std::string piece;
};

Resolved Resolve(ParsedMarker& marker, long index) {
  Resolved resolved;
  dorvan_marker::GetPlacementSizeAndPiece(*marker, marker->FindSection("IGEO"), index, resolved.size, resolved.piece);
  return resolved;
}

// One piece record per article, one placement per piece, articles of the given kinds;
// VMDL and VVET carry "VTAN" Mi and "VTAI" Vi for article i.
std::string KindsMarker(const std::vector<std::string>& kinds, bool with_vvet, bool with_vmdl = true) {
  std::vector<MarkerText::Row> articles, models, garments, pieces, placements;
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    articles.push_back({kinds[i]});
    models.push_back({n, "M" + n});
    garments.push_back({n, "V" + n, ""});
    pieces.push_back({"p" + n, n});
    placements.push_back({n});
  }
  MarkerText text;
  text.Section("VART", {"VEXT"}, articles);
  if (with_vmdl) text.Section("VMDL", {"VNUM", "VTAN"}, models);
  if (with_vvet) text.Section("VVET", {"VNUM", "VTAI", "VCTA"}, garments);
  return text.Section("IBA", {"IART", "VNUM"}, pieces).Section("IGEO", {"INUM"}, placements).Text();
}

}  // namespace

TEST(GetPlacementSizeAndPiece, FollowsTheArticleKind) {
  const std::vector<std::string> kinds = {"MDL", "mdl", "VET", "vEt", "", "xin", "XIN", "other"};
  ParsedMarker with_vvet(KindsMarker(kinds, true));
  const std::vector<std::string> sizes = {"M1", "M2", "V3", "V4", "V5", "-1", "", ""};
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    const Resolved r = Resolve(with_vvet, static_cast<long>(i));
    EXPECT_EQ(r.size, sizes[i]) << "kind " << kinds[i];
    EXPECT_EQ(r.piece, "p" + std::to_string(i + 1));
  }
  ParsedMarker without_vvet(KindsMarker({"VET", "", "MDL"}, false));
  EXPECT_EQ(Resolve(without_vvet, 0).size, "-1");
  EXPECT_EQ(Resolve(without_vvet, 1).size, "-1");
  EXPECT_EQ(Resolve(without_vvet, 2).size, "M3");
  ParsedMarker without_vmdl(KindsMarker({"MDL"}, true, false));
  EXPECT_EQ(Resolve(without_vmdl, 0).size, "-1");
}

TEST(GetPlacementSizeAndPiece, AppliesThePositionRule) {
  // Article 1's VMDL record says VNUM 2, so its size comes from the second record; article
  // 3 is beyond the section, so the last record decides.
  ParsedMarker marker(MarkerText()
                          .Section("VART", {"VEXT"}, {{"MDL"}, {"MDL"}, {"MDL"}})
                          .Section("VMDL", {"VNUM", "VTAN"}, {{"2", "first"}, {"1", "second"}})
                          .Section("IBA", {"IART", "VNUM"}, {{"a", "1"}, {"b", "2"}, {"c", "3"}})
                          .Section("IGEO", {"INUM"}, {{"1"}, {"2"}, {"3"}})
                          .Text());
  EXPECT_EQ(Resolve(marker, 0).size, "second");
  EXPECT_EQ(Resolve(marker, 1).size, "first");
  EXPECT_EQ(Resolve(marker, 2).size, "first");
}

TEST(GetPlacementSizeAndPiece, TakesTheResolvedSizeForVcta1) {
  ParsedMarker marker(
      MarkerText()
          .Section("VART", {"VEXT"}, {{"VET"}, {"VET"}, {"VET"}})
          .Section("VVET", {"VNUM", "VTAI", "VCTA"}, {{"1", "0", "1"}, {"2", "0", "01"}, {"3", "", " 1"}})
          .Section("IBA", {"IART", "VNUM"}, {{"a", "1"}, {"b", "2"}, {"c", "3"}})
          .Section("IGEO", {"INUM"}, {{"1"}, {"2"}, {"3"}})
          .Text());
  marker->ArticleSizes = CStringArray{"resolved-0", "resolved-1", "resolved-2"};
  EXPECT_EQ(Resolve(marker, 0).size, "resolved-0");
  EXPECT_EQ(Resolve(marker, 1).size, "0");
  EXPECT_EQ(Resolve(marker, 2).size, "-1");
  marker->ArticleSizes = CStringArray{};
  EXPECT_THROW(Resolve(marker, 0), InvalidArgumentError);
}

TEST(GetPlacementSizeAndPiece, MapsPieceKeysExactly) {
  ParsedMarker marker(KindsMarker({"MDL", "MDL"}, false));
  marker->PieceNames = {{"p1", "Front"}, {"P2", "Back"}};
  EXPECT_EQ(Resolve(marker, 0).piece, "Front");
  EXPECT_EQ(Resolve(marker, 1).piece, "p2");
}

TEST(GetPlacementSizeAndPiece, RaisesForBrokenReferences) {
  const auto marker_with = [](const std::string& inum, const std::string& vnum, const std::string& vmdl_vnum) {
    return MarkerText()
        .Section("VART", {"VEXT"}, {{"MDL"}})
        .Section("VMDL", {"VNUM", "VTAN"}, {{vmdl_vnum, "38"}})
        .Section("IBA", {"IART", "VNUM"}, {{"fr", vnum}})
        .Section("IGEO", {"INUM"}, {{inum}})
        .Text();
  };
  const struct {
    std::string text;
    const char* message;
  } cases[] = {
      {marker_with("", "1", "1"),
       "/m/marker.txt:8: \"IGEO\" record 1: \"INUM\" \"\" points outside the 1 piece records"},
      {marker_with("0", "1", "1"),
       "/m/marker.txt:8: \"IGEO\" record 1: \"INUM\" \"0\" points outside the 1 piece records"},
      {marker_with("2", "1", "1"),
       "/m/marker.txt:8: \"IGEO\" record 1: \"INUM\" \"2\" points outside the 1 piece records"},
      {marker_with("x", "1", "1"),
       "/m/marker.txt:8: \"IGEO\" record 1: \"INUM\" \"x\" points outside the 1 piece records"},
      {marker_with("1", "-1", "1"),
       "/m/marker.txt:6: \"IBA\" record 1: \"VNUM\" \"-1\" points outside the 1 articles (placement 1 of \"IGEO\")"},
      {marker_with("1", "99999999999999999999", "1"),
       "/m/marker.txt:6: \"IBA\" record 1: \"VNUM\" \"99999999999999999999\" points outside the 1 articles (placement "
       "1 of "
       "\"IGEO\")"},
      {marker_with("1", "2", "1"),  // one past the last article
       "/m/marker.txt:6: \"IBA\" record 1: \"VNUM\" \"2\" points outside the 1 articles (placement 1 of \"IGEO\")"},
      {marker_with("1", "1", "2"),  // one past the last record
       "/m/marker.txt:4: \"VMDL\" record 1: \"VNUM\" \"2\" points outside the 1 records of \"VMDL\""},
      {marker_with("1", "1", "0"),
       "/m/marker.txt:4: \"VMDL\" record 1: \"VNUM\" \"0\" points outside the 1 records of \"VMDL\""},
      {marker_with("1", "1", "2147483647"),
       "/m/marker.txt:4: \"VMDL\" record 1: \"VNUM\" \"2147483647\" points outside the 1 records of \"VMDL\""},
  };
  for (const auto& c : cases) {
    ParsedMarker marker(c.text);
    try {
      Resolve(marker, 0);
      ADD_FAILURE() << c.message;
    } catch (const InvalidArgumentError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
  ParsedMarker empty_vmdl(MarkerText()
                              .Section("VART", {"VEXT"}, {{"MDL"}})
                              .Section("VMDL", {"VNUM"}, {})
                              .Section("IBA", {"IART", "VNUM"}, {{"fr", "1"}})
                              .Section("IGEO", {"INUM"}, {{"1"}})
                              .Text());
  EXPECT_THROW(Resolve(empty_vmdl, 0), InvalidArgumentError) << "a size section without records";
  EXPECT_THROW(Resolve(empty_vmdl, 1), InvalidArgumentError) << "a placement index outside";
}
