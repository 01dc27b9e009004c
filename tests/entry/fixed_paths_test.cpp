// SPDX-License-Identifier: MIT
// ImportDorvanFile, which writes to the fixed host paths. These tests share one folder, so
// CTest runs them one at a time (RESOURCE_LOCK userroot).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "dorvan_marker/dorvan_marker.h"
#include "dorvan_marker/import.hpp"
#include "support/test_support.hpp"

using dorvan_marker::HostFilePaths;

namespace {

const std::string kExampleFolder = std::string(DORVAN_EXAMPLES) + "/jacket";
using test::CopyExample;
const char* const kBroken = "IGEO:INUM\nIBA:VNUM\nVART:VEXT\nVMDL:VNMD\n1:9\n2:1\n3:MDL\n4:x\n";

}  // namespace

// ImportDorvanFile writes to the fixed /userroot/temp. The test runs it only where that
// folder exists or can be made (CI runs as root), and removes what it made.
class ImportDorvanFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::error_code error;
    made_ = std::filesystem::create_directories("/userroot/temp", error);
    if (!std::filesystem::is_directory("/userroot/temp") || access("/userroot/temp", W_OK) != 0) {
      GTEST_SKIP() << "/userroot/temp cannot be written here";
    }
    for (const auto& path : {paths_.command_file, paths_.placement_file}) {
      if (test::Exists(path)) saved_.emplace_back(path, test::ReadFile(path));
    }
  }
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove(paths_.command_file, error);
    std::filesystem::remove(paths_.placement_file, error);
    for (const auto& [path, bytes] : saved_) test::WriteFile(path, bytes);
    if (made_) std::filesystem::remove_all("/userroot", error);
  }

  const HostFilePaths paths_ = dorvan_marker::FixedHostFilePaths();
  bool made_ = false;
  std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(ImportDorvanFileTest, ImportsIntoTheFixedPlaces) {
  test::TempDir dir;
  const std::string marker = CopyExample(dir, "spring.lay 2.txt");
  char name[256];
  std::memset(name, 'z', sizeof name);
  std::strcpy(name, "caller");
  EXPECT_EQ(ImportDorvanFile(marker.c_str(), name), DORVAN_IMPORT_OK);
  EXPECT_STREQ(name, "SPRING-LAY 2");
  EXPECT_NE(test::ReadFile(paths_.command_file).find("o:SPRING-LAY 2\r\n"), std::string::npos);
  EXPECT_EQ(test::ReadFile(paths_.placement_file).size(), test::ReadFile(kExampleFolder + "/expected/posimport.txt").size());
  EXPECT_EQ(ImportDorvanFile(marker.c_str(), nullptr), DORVAN_IMPORT_OK) << "a null buffer is not written";
}

TEST_F(ImportDorvanFileTest, ShowsTheErrorBoxForAMarkerWithoutModels) {
  test::TempDir dir;
  test::WriteFile(dir / "m.txt", "PLC:PNAM\n1:x\n");
  test::WriteFile(paths_.command_file, "earlier\r\n");
  const struct {
    std::string caller;
    std::string box;
  } cases[] = {
      {"spring", "KOV: spring is an invalid Dorvan marker file.  No models were found.\n"},
      {"", "KOV:  is an invalid Dorvan marker file.  No models were found.\n"},
      {std::string(70, 'c'), "KOV: " + std::string(70, 'c') + " is an invalid Dorvan marker file.  No models were found.\n"},
      {std::string(200, 'c'),
       "KOV: " + (std::string(200, 'c') + " is an invalid Dorvan marker file.  No models were found.").substr(0, 127) + "\n"},
  };
  for (const auto& c : cases) {
    char name[256];
    std::strcpy(name, c.caller.c_str());
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ImportDorvanFile((dir / "m.txt").c_str(), name), DORVAN_IMPORT_NO_MODELS);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.box);
    EXPECT_EQ(std::string(name), c.caller) << "the buffer is unchanged";
  }
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ImportDorvanFile((dir / "m.txt").c_str(), nullptr), DORVAN_IMPORT_NO_MODELS);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "KOV:  is an invalid Dorvan marker file.  No models were found.\n");
  EXPECT_EQ(test::ReadFile(paths_.command_file), "earlier\r\n");
  EXPECT_FALSE(test::Exists(paths_.placement_file));
}

TEST_F(ImportDorvanFileTest, ReturnsCodesForTheOtherFailures) {
  test::TempDir dir;
  test::WriteFile(dir / "broken.txt", kBroken);
  char name[256] = "caller";
  EXPECT_EQ(ImportDorvanFile((dir / "missing.txt").c_str(), name), DORVAN_IMPORT_CANNOT_OPEN);
  EXPECT_EQ(ImportDorvanFile(nullptr, name), DORVAN_IMPORT_CANNOT_OPEN);
  EXPECT_EQ(ImportDorvanFile((dir / "broken.txt").c_str(), name), DORVAN_IMPORT_MALFORMED);
  test::WriteFile(paths_.command_file, "earlier\r\n");
  ASSERT_EQ(chmod(paths_.command_file.c_str(), 0444), 0);
  EXPECT_EQ(ImportDorvanFile(CopyExample(dir, "m.txt").c_str(), name), DORVAN_IMPORT_CANNOT_WRITE);
  EXPECT_STREQ(name, "caller");
  chmod(paths_.command_file.c_str(), 0644);
  EXPECT_EQ(test::ReadFile(paths_.command_file), "earlier\r\n");
}
