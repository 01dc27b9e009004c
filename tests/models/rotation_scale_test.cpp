// SPDX-License-Identifier: MIT
// A piece's rotation and scale percentages from its model file.
#include <gtest/gtest.h>

#include "models/rotation_scale.hpp"
#include "support/marker_fixture.hpp"
#include "support/marker_text.hpp"

using dorvan_marker::CSection;
using dorvan_marker::InvalidArgumentError;
using test::MarkerText;
using test::ParsedMarker;
using Calls = std::vector<std::string>;

namespace {

struct Outcome {
  double rotation;
  double x_percent;
  double y_percent;
};

// Articles: 1 "mDl" (model route, model file MODEL through VMDL), 2 without "VEXT"
// (by-name route), 3 "MDL" without a VMDL record.
ParsedMarker* MakeMarker(const std::vector<MarkerText::Row>& pieces) {
  return new ParsedMarker(MarkerText()
                              .Section("VART", {"VEXT", "VGFN"}, {{"mDl", "JACKET"}, {"", "COAT"}, {"MDL", "HAT"}})
                              .Section("VMDL", {"VNUM", "VNMD"}, {{"1", "MODEL"}})
                              .Section("IBA", {"IART", "INAM", "VNUM"}, pieces)
                              .Text());
}

Outcome Query(ParsedMarker& marker, long index) {
  Outcome outcome{9.0, 7.0, 7.0};  // 7.0: what the caller put there, to see it kept
  const CSection* pieces = marker->FindSection("IBA");
  dorvan_marker::GetPieceRotationScale(*marker, *pieces, index, *marker->Loader, &outcome.rotation, &outcome.x_percent,
                                       &outcome.y_percent);
  return outcome;
}

}  // namespace

TEST(GetPieceRotationScale, TakesTheModelRouteForMdlArticles) {
  std::unique_ptr<ParsedMarker> marker(MakeMarker({{"fr", "2", "1"}, {"bk", " ", "1"}, {"pk", "abc", "1"}}));
  marker->loader->sizes["/m/MODEL.mdl"] = {};
  marker->loader->by_number[{"/m/MODEL.mdl", "JACKET", 2}] = {0.25, 0.5, 2.0};
  marker->loader->by_number[{"/m/MODEL.mdl", "JACKET", 1}] = {-0.5, 1.0, 0.0};
  const Outcome front = Query(*marker, 0);
  EXPECT_DOUBLE_EQ(front.rotation, 0.25);
  EXPECT_DOUBLE_EQ(front.x_percent, 100.0);
  EXPECT_DOUBLE_EQ(front.y_percent, -50.0);
  const Outcome back = Query(*marker, 1);  // a blank "INAM" asks for piece 1
  EXPECT_DOUBLE_EQ(back.rotation, -0.5);
  EXPECT_DOUBLE_EQ(back.x_percent, 0.0);
  EXPECT_DOUBLE_EQ(back.y_percent, 7.0) << "a factor of 0.0 leaves the caller's value";
  const Outcome pocket = Query(*marker, 2);  // "abc" asks for piece 0, which is unknown
  EXPECT_DOUBLE_EQ(pocket.rotation, 0.0);
  EXPECT_EQ(marker->calls,
            (Calls{"Open(/m/MODEL.mdl)=1", "GetRotationScale(JACKET,2)=1", "Open(/m/MODEL.mdl)=1",
                   "GetRotationScale(JACKET,1)=1", "Open(/m/MODEL.mdl)=1", "GetRotationScale(JACKET,0)=0"}));
}

TEST(GetPieceRotationScale, QueriesEvenWhenTheOpenFails) {
  std::unique_ptr<ParsedMarker> marker(MakeMarker({{"hat", "1", "3"}, {"fr", "1", "1"}}));
  const Outcome hat = Query(*marker, 0);
  EXPECT_DOUBLE_EQ(hat.rotation, 0.0);
  EXPECT_DOUBLE_EQ(hat.x_percent, 0.0);
  Query(*marker, 1);
  EXPECT_EQ(marker->calls, (Calls{"Open(/m/.mdl)=0", "GetRotationScale(HAT,1)=0", "Open(/m/MODEL.mdl)=0",
                                  "GetRotationScale(JACKET,1)=0"}));
}

TEST(GetPieceRotationScale, TakesTheByNameRouteForOtherArticles) {
  std::unique_ptr<ParsedMarker> marker(MakeMarker({{"cf", "7", "2"}, {"", "1", "2"}, {"zz", "1", "2"}}));
  marker->loader->sizes["/m/COAT.mdl"] = {};
  marker->loader->by_key[{"/m/COAT.mdl", "COAT", "cf"}] = {1.5, 0.8, 1.25};
  const Outcome coat = Query(*marker, 0);
  EXPECT_DOUBLE_EQ(coat.rotation, 1.5);
  EXPECT_DOUBLE_EQ(coat.x_percent, 25.0);
  EXPECT_DOUBLE_EQ(coat.y_percent, -20.0);
  const Outcome empty_key = Query(*marker, 1);  // nothing is asked
  EXPECT_DOUBLE_EQ(empty_key.rotation, 0.0);
  const Outcome unknown = Query(*marker, 2);
  EXPECT_DOUBLE_EQ(unknown.rotation, 0.0);
  EXPECT_DOUBLE_EQ(unknown.x_percent, 0.0);
  EXPECT_EQ(marker->calls, (Calls{"Open(/m/COAT.mdl)=1", "GetRotationScale(COAT,'cf')=1", "Open(/m/COAT.mdl)=1",
                                  "GetRotationScale(COAT,'zz')=0"}));
}

TEST(GetPieceRotationScale, RaisesForReferencesOutside) {
  std::unique_ptr<ParsedMarker> marker(MakeMarker({{"fr", "1", "4"}, {"fr", "1", ""}}));
  double r = 0, x = 0, y = 0;
  const CSection* pieces = (*marker)->FindSection("IBA");
  for (long index : {-1L, 2L}) {
    EXPECT_THROW(dorvan_marker::GetPieceRotationScale(**marker, *pieces, index, *(*marker)->Loader, &r, &x, &y),
                 InvalidArgumentError)
        << index;
  }
  try {
    Query(*marker, 0);
    FAIL();
  } catch (const InvalidArgumentError& error) {
    EXPECT_STREQ(error.what(), "/m/marker.txt:8: \"IBA\" record 1: \"VNUM\" \"4\" points outside the 3 articles");
  }
  EXPECT_THROW(Query(*marker, 1), InvalidArgumentError);
  EXPECT_TRUE(marker->calls.empty());
}

TEST(GetPieceRotationScale, AsksNothingForANameThatIsNotAPlainFileName) {
  // Articles: 1 by key in COAT, 2 by key in "../COAT", 3 by number in "../COAT" (VMDL).
  const std::vector<MarkerText::Row> pieces = {{"cf", "1", "1"}, {"cf", "1", "2"}, {"cf", "1", "3"}};
  std::unique_ptr<ParsedMarker> marker(
      new ParsedMarker(MarkerText()
                           .Section("VART", {"VEXT", "VGFN"}, {{"", "COAT"}, {"", "../COAT"}, {"MDL", "COAT"}})
                           .Section("VMDL", {"VNUM", "VNMD"}, {{"3", "../COAT"}})
                           .Section("IBA", {"IART", "INAM", "VNUM"}, pieces)
                           .Text()));
  // The file the first piece leaves open knows what the other two would ask.
  marker->loader->sizes["/m/COAT.mdl"] = {};
  for (const char* vgfn : {"COAT", "../COAT"}) marker->loader->by_key[{"/m/COAT.mdl", vgfn, "cf"}] = {1.5, 0.5, 0.5};
  marker->loader->by_number[{"/m/COAT.mdl", "COAT", 1}] = {1.5, 0.5, 0.5};
  EXPECT_DOUBLE_EQ(Query(*marker, 0).rotation, 1.5);
  for (const long refused : {1L, 2L}) {
    const Outcome outcome = Query(*marker, refused);
    EXPECT_DOUBLE_EQ(outcome.rotation, 0.0) << refused;
    EXPECT_DOUBLE_EQ(outcome.x_percent, 0.0) << refused;
    EXPECT_DOUBLE_EQ(outcome.y_percent, 0.0) << refused;
  }
  EXPECT_EQ(marker->calls, (Calls{"Open(/m/COAT.mdl)=1", "GetRotationScale(COAT,'cf')=1"}));
}
