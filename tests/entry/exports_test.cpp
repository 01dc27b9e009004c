// SPDX-License-Identifier: MIT
// The library as a host sees it: loaded at run time, its two functions found by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/exported_library.hpp"
#include "support/test_support.hpp"

namespace {

constexpr char kLibrary[] = DORVAN_LIBRARY;

class Exports : public test::WithExportedFunctions<::testing::Test, kLibrary> {};

}  // namespace

TEST_F(Exports, GetStyleListAppendsDistinctNames) {
  test::TempDir dir;
  test::WriteFile(dir / "m.txt", "VMDL:VNUM:VNMD\n1:1:SHIRT\n1:2:SKIRT\n1:3:SHIRT\n1:4:shirt\n1:5\n1:6\n");
  std::vector<std::string> styles{"SKIRT"};
  EXPECT_TRUE(get_style_list_((dir / "m.txt").c_str(), &styles));
  EXPECT_EQ(styles, (std::vector<std::string>{"SKIRT", "SHIRT", "shirt", ""}));
}

TEST_F(Exports, GetStyleListLeavesTheListAloneOnFailure) {
  test::TempDir dir;
  test::WriteFile(dir / "none.txt", "VMDL:VNMD\nIGEO:INUM\n2:1\n");
  test::WriteFile(dir / "broken.txt", "A:B\nVMDL:VNMD\n1:x\n");
  test::WriteFile(dir / "huge.txt", "VMDL:VNMD\n99999999999:x\n");
  std::vector<std::string> styles{"KEEP"};
  for (const char* name : {"missing.txt", "none.txt", "broken.txt", "huge.txt"}) {
    EXPECT_FALSE(get_style_list_((dir / name).c_str(), &styles)) << name;
    EXPECT_EQ(styles, std::vector<std::string>{"KEEP"}) << name;
  }
  EXPECT_FALSE(get_style_list_(nullptr, &styles));
  EXPECT_FALSE(get_style_list_((dir / "none.txt").c_str(), nullptr));
}

TEST_F(Exports, ImportDorvanFileReportsAMissingFile) {
  char name[256] = "caller";
  EXPECT_EQ(import_("/nonexistent/marker.txt", name), 0);
  EXPECT_STREQ(name, "caller");
  EXPECT_EQ(import_(nullptr, name), 0);
}

TEST_F(Exports, ImportDorvanFileRefusesAMarkerWithoutModels) {
  test::TempDir dir;
  test::WriteFile(dir / "m.txt", "IGEO:INUM\nVART:VEXT\nVMDL:VNMD\n3:x\n");
  char name[256] = "caller text";
  EXPECT_EQ(import_((dir / "m.txt").c_str(), name), -1);
  EXPECT_STREQ(name, "caller text");
}

TEST_F(Exports, ImportDorvanFileReportsAMalformedMarker) {
  test::TempDir dir;
  test::WriteFile(dir / "m.txt", "IGEO:INUM\nIBA:VNUM\nVART:VEXT\nVMDL:VNMD\n1:9\n2:1\n3:MDL\n4:x\n");
  char name[256] = "caller";
  EXPECT_EQ(import_((dir / "m.txt").c_str(), name), -2);
  EXPECT_STREQ(name, "caller");
}

// The site's plug-in, named by the environment, serves only the import: the style list
// never loads it, and one that cannot serve shows the error box with its words, cut at
// the box's bound.
TEST_F(Exports, APluginThatCannotServeGivesMinus4AndTheBox) {
  test::TempDir dir;
  const std::string marker = test::CopyExample(dir, "m.txt");
  setenv("DORVAN_MARKER_LOADER", DORVAN_NO_ENTRY_PLUGIN, 1);
  std::vector<std::string> styles;
  EXPECT_TRUE(get_style_list_(marker.c_str(), &styles));
  EXPECT_EQ(styles, (std::vector<std::string>{"JACKET", "TROUSERS"}));
  char name[256] = "caller";
  ::testing::internal::CaptureStderr();
  const int result = import_(marker.c_str(), name);
  const std::string box = ::testing::internal::GetCapturedStderr();
  unsetenv("DORVAN_MARKER_LOADER");
  EXPECT_EQ(result, -4);
  EXPECT_STREQ(name, "caller");
  const std::string words =
      std::string(DORVAN_NO_ENTRY_PLUGIN) + ": the loader plug-in lacks the entry function dorvan_marker_get_loader";
  EXPECT_EQ(box, "KOV: " + words.substr(0, 127) + "\n");
}
