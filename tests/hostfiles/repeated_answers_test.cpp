// SPDX-License-Identifier: MIT
// A loader that repeats its answers is asked each distinct rotation query once; the host
// files must come out as they do when it is asked every time.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "support/marker_fixture.hpp"
#include "support/marker_text.hpp"
#include "support/test_support.hpp"

using test::MarkerText;
using test::ParsedMarker;

namespace {

// Two model-route articles of one "VGFN" in two model files, and by-name articles of two
// files, two of them sharing theirs. Piece keys and numbers recur across routes and
// files, so that a query told by too little would mix their answers up.
ParsedMarker* MixedMarker() {
  auto* marker = new ParsedMarker(
      MarkerText()
          .Section("VART", {"VEXT", "VGFN"},
                   {{"MDL", "JACKET"}, {"MDL", "JACKET"}, {"VET", "COAT"}, {"VET", "COAT"}, {"VET", "HAT"}})
          .Section("VMDL", {"VNUM", "VNMD", "VTAN"}, {{"1", "JK1", "38"}, {"2", "JK2", "40"}})
          .Section("IBA", {"IART", "INAM", "VNUM"},
                   {{"fr", "1", "1"},
                    {"fr", "1", "2"},
                    {"bk", "2", "1"},
                    {"fr", "1", "1"},
                    {"cf", "5", "3"},
                    {"cf", "6", "4"},
                    {"cf", "7", "5"},
                    {"fr", "1", "3"}})
          .Section("IGEO", {"INUM", "IXOR", "IYOR", "IXDI", "IYDI"},
                   {{"1", "10", "10", "100", "50"},
                    {"2", "20", "10", "100", "50"},
                    {"3", "30", "10", "80", "50"},
                    {"4", "40", "10", "100", "50"},
                    {"5", "50", "10", "60", "40"},
                    {"6", "60", "10", "60", "40"},
                    {"7", "70", "10", "60", "40"},
                    {"8", "80", "10", "60", "40"},
                    {"1", "90", "10", "100", "50"},
                    {"5", "95", "10", "60", "40"}})
          .Text());
  test::FakeLoader& loader = *marker->loader;
  for (const char* file : {"/m/JK1.mdl", "/m/JK2.mdl", "/m/COAT.mdl", "/m/HAT.mdl"}) loader.sizes[file] = {};
  loader.by_number[{"/m/JK1.mdl", "JACKET", 1}] = {0.1, 0.5, 2.0};
  loader.by_number[{"/m/JK2.mdl", "JACKET", 1}] = {0.2, 0.8, 1.25};
  loader.by_number[{"/m/JK1.mdl", "JACKET", 2}] = {0.3, 1.0, 0.5};
  loader.by_key[{"/m/COAT.mdl", "COAT", "cf"}] = {0.4, 0.25, 4.0};
  loader.by_key[{"/m/HAT.mdl", "HAT", "cf"}] = {0.5, 2.0, 1.0};
  loader.by_key[{"/m/COAT.mdl", "COAT", "fr"}] = {0.6, 1.6, 0.625};
  return marker;
}

struct Written {
  std::string command_file;
  std::string placement_file;
  std::size_t rotation_queries = 0;
};

Written Import(bool repeats) {
  std::unique_ptr<ParsedMarker> marker(MixedMarker());
  marker->loader->repeats = repeats;
  marker->BuildModels();
  (*marker)->Sizes = dorvan_marker::CStringArray{"38", "40", "-1"};
  test::TempDir dir;
  test::OutputFile command(dir / "c.txt");
  test::OutputFile placement(dir / "p.txt");
  // One for both files, as an import has.
  dorvan_marker::HostPlacements placements = dorvan_marker::ResolveHostPlacements(**marker);
  dorvan_marker::WriteCommandFile(**marker, placements, command.File());
  dorvan_marker::WritePlacementFile(**marker, placements, placement.File());
  Written written{command.Read(), placement.Read(), 0};
  written.rotation_queries =
      static_cast<std::size_t>(std::count_if(marker->calls.begin(), marker->calls.end(), [](const std::string& call) {
        return call.starts_with("GetRotationScale");
      }));
  return written;
}

}  // namespace

TEST(RepeatedAnswers, WriteWhatAskingEveryTimeWrites) {
  const Written asked = Import(false);
  const Written reused = Import(true);
  EXPECT_EQ(reused.command_file, asked.command_file);
  EXPECT_EQ(reused.placement_file, asked.placement_file);
  // Every piece's own answer reached the files: six distinct rotations, six scales.
  for (const char* angle : {"5.729578", "11.459156", "17.188734", "22.918312", "28.647890", "34.377468"}) {
    EXPECT_NE(asked.placement_file.find(angle), std::string::npos) << angle;
  }
  EXPECT_EQ(reused.rotation_queries, 6u) << "each distinct query once";
  EXPECT_GT(asked.rotation_queries, reused.rotation_queries);
}
