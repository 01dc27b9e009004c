// SPDX-License-Identifier: MIT
// The piece placement file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "hostfiles/placement_geometry.hpp"
#include "support/marker_fixture.hpp"
#include "support/marker_text.hpp"
#include "support/test_support.hpp"

using dorvan_marker::InvalidArgumentError;
using test::MarkerText;
using test::ParsedMarker;

namespace {

struct Piece {
  std::string name;
  std::string iflg;
  std::string igrs, ixor, iyor, ixdi, iydi, igrf;
  double rotation;  // radians, from the model file
};

// One "MDL" article of size 38 (model file /m/J.mdl), one piece record and one placement
// per piece.
ParsedMarker* MarkerOf(const std::vector<Piece>& pieces) {
  std::vector<MarkerText::Row> iba, igeo;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    iba.push_back({pieces[i].name, std::to_string(i + 1), "1", pieces[i].iflg});
    const Piece& p = pieces[i];
    igeo.push_back({std::to_string(i + 1), p.igrs, p.ixor, p.iyor, p.ixdi, p.iydi, p.igrf});
  }
  auto* marker = new ParsedMarker(MarkerText()
                                      .Section("VART", {"VEXT", "VGFN"}, {{"MDL", "J"}})
                                      .Section("VMDL", {"VNUM", "VNMD", "VTAN"}, {{"1", "J", "38"}})
                                      .Section("IBA", {"IART", "INAM", "VNUM", "IFLG"}, iba)
                                      .Section("IGEO", {"INUM", "IGRS", "IXOR", "IYOR", "IXDI", "IYDI", "IGRF"}, igeo)
                                      .Text());
  marker->loader->sizes["/m/J.mdl"] = {};
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    marker->loader->by_number[{"/m/J.mdl", "J", static_cast<int>(i + 1)}] = {pieces[i].rotation, 1.0, 1.0};
  }
  return marker;
}

std::string WritePlacementFile(ParsedMarker& marker) {
  marker.BuildModels();
  return marker.PlacementFile();
}

}  // namespace

TEST(WritePlacementFile, WritesTheFrontAndBackExamples) {
  std::unique_ptr<ParsedMarker> marker(MarkerOf({
      {"FRONT", "6", "6", "-100", "50", "4500", "6000", "5419", 0.0},
      {"BACK", "0", "0", "-20", "-30", "3000", "5000", "1000", 0.1},
  }));
  EXPECT_EQ(WritePlacementFile(*marker),
            "FRONT,38,8,1,-180.000000,215.000000,305.000000,450.000000,600.000000,0\r\n"
            "BACK,38,32,0,22.229578,148.000000,247.000000,300.000000,500.000000,0\r\n");
}

TEST(WritePlacementFile, DerivesCodesAndAngles) {
  const struct {
    const char* name;
    Piece piece;
    const char* line;
  } cases[] = {
      {"no IFLG gives 16",
       {"A", "", "0", "10", "10", "20", "20", "0", 0.0},
       "A,38,16,0,0.000000,2.000000,2.000000,2.000000,2.000000,0"},
      {"IFLG 5 gives 16",
       {"A", "5", "0", "0", "0", "0", "0", "0", 0.0},
       "A,38,16,0,0.000000,0.000000,0.000000,0.000000,0.000000,0"},
      {"IFLG 7 gives 32",
       {"A", "7", "0", "0", "0", "0", "0", "0", 0.0},
       "A,38,32,0,0.000000,0.000000,0.000000,0.000000,0.000000,0"},
      {"one negative origin keeps the code",
       {"A", "6", "0", "-10", "10", "0", "0", "0", 0.0},
       "A,38,8,0,0.000000,-1.000000,1.000000,0.000000,0.000000,0"},
      {"IGRS 1 gives mirror 2",
       {"A", "0", "1", "0", "0", "0", "0", "1000", 0.0},
       "A,38,16,2,-16.500000,0.000000,0.000000,0.000000,0.000000,0"},
      {"IGRS 2 gives mirror 1",
       {"A", "0", "2", "0", "0", "0", "0", "0", 0.0},
       "A,38,16,1,0.000000,0.000000,0.000000,0.000000,0.000000,0"},
      {"IGRS 3 gives mirror 3, not negated",
       {"A", "0", "3", "0", "0", "0", "0", "1000", 0.0},
       "A,38,16,3,16.500000,0.000000,0.000000,0.000000,0.000000,0"},
      {"IGRS 4 turns a quarter",
       {"A", "0", "4", "0", "0", "0", "0", "0", 0.0},
       "A,38,16,0,90.000000,0.000000,0.000000,0.000000,0.000000,0"},
      {"IGRS 5 turns back a quarter when mirrored",
       {"A", "0", "5", "0", "0", "0", "0", "0", 0.0},
       "A,38,16,2,-90.000000,0.000000,0.000000,0.000000,0.000000,0"},
      {"the model's rotation is added unrounded",
       {"A", "0", "0", "0", "0", "0", "0", "0", -0.01},
       "A,38,16,0,-0.572958,0.000000,0.000000,0.000000,0.000000,0"},
      {"a long name",
       {"A RATHER LONG PIECE NAME 17", "0", "0", "-7", "3", "1", "2", "0", 0.0},
       "A RATHER LONG PIECE NAME 17,38,16,0,0.000000,-0.650000,0.400000,0.100000,0.200000,0"},
      {"IGRF written with a point",
       {"A", "0", "0", "0", "0", "0", "0", "1000.0", 0.0},
       "A,38,16,0,16.500000,0.000000,0.000000,0.000000,0.000000,0"},
      {"IGRF of -0",
       {"A", "0", "1", "0", "0", "0", "0", "-0", 0.0},
       "A,38,16,2,0.000000,0.000000,0.000000,0.000000,0.000000,0"},
  };
  for (const auto& c : cases) {
    std::unique_ptr<ParsedMarker> marker(MarkerOf({c.piece}));
    EXPECT_EQ(WritePlacementFile(*marker), std::string(c.line) + "\r\n") << c.name;
  }
}

TEST(RoundToHalfDegree, RoundsHalvesAwayFromZero) {
  const struct {
    double angle;
    double rounded;
  } cases[] = {{0.0, 0.0},          {0.25, 0.5},  {-0.25, -0.5},
               {0.24, 0.0},         {-0.24, 0.0}, {16.6075, 16.5},
               {-179.9959, -180.0}, {0.75, 1.0},  {1073741823.0, 1073741823.0}};
  for (const auto& c : cases) {
    double rounded = 99.0;
    ASSERT_TRUE(dorvan_marker::RoundToHalfDegree(c.angle, rounded)) << c.angle;
    EXPECT_EQ(rounded, c.rounded) << c.angle;
  }
  double rounded = 0.0;
  EXPECT_FALSE(dorvan_marker::RoundToHalfDegree(1e10, rounded));
  EXPECT_FALSE(dorvan_marker::RoundToHalfDegree(-1e10, rounded));
  EXPECT_FALSE(dorvan_marker::RoundToHalfDegree(std::nan(""), rounded));
  EXPECT_DOUBLE_EQ(dorvan_marker::AngleOfIgrf(5419.0), 89.99589261918112) << "divided by 6.2831853, not 2 pi";
  EXPECT_NE(dorvan_marker::AngleOfIgrf(5419.0), 5419.0 / 3450.0 / (2.0 * 3.14159265358979323846) * 360.0);
}

TEST(WritePlacementFile, RejectsAnAngleBeyondRounding) {
  for (const char* igrf : {"1e20", "nan", "-inf"}) {
    std::unique_ptr<ParsedMarker> marker(MarkerOf({{"A", "0", "0", "0", "0", "0", "0", igrf, 0.0}}));
    try {
      WritePlacementFile(*marker);
      ADD_FAILURE() << igrf;
    } catch (const InvalidArgumentError& error) {
      EXPECT_EQ(std::string(error.what()), "/m/marker.txt:8: \"IGEO\" record 1: \"IGRF\" \"" + std::string(igrf) +
                                               "\" gives an angle that cannot be rounded");
    }
  }
}

TEST(WritePlacementFile, GroupsLinesBySizeAndDropsOtherSizes) {
  ParsedMarker marker(MarkerText()
                          .Section("VART", {"VEXT"}, {{"MDL"}, {"MDL"}, {"XIN"}})
                          .Section("VMDL", {"VNUM", "VTAN"}, {{"1", "40"}, {"2", "38"}, {"3", "x"}})
                          .Section("IBA", {"IART", "VNUM"}, {{"a", "2"}, {"b", "1"}, {"c", "2"}, {"d", "3"}})
                          .Section("IGEO", {"INUM"}, {{"1"}, {"2"}, {"3"}, {"4"}})
                          .Text());
  dorvan_marker::BuildSizeLists(*marker);
  marker->Sizes = dorvan_marker::CStringArray{"40", "38", "none"};
  EXPECT_EQ(marker.PlacementFile(),
            "B,40,16,0,0.000000,0.000000,0.000000,0.000000,0.000000,0\r\n"
            "A,38,16,0,0.000000,0.000000,0.000000,0.000000,0.000000,0\r\n"
            "C,38,16,0,0.000000,0.000000,0.000000,0.000000,0.000000,0\r\n");
  marker->Sizes = dorvan_marker::CStringArray{"none"};
  EXPECT_EQ(marker.PlacementFile(), "") << "no placement of the marker's sizes: an empty file";
}
