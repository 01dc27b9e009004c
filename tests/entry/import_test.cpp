// SPDX-License-Identifier: MIT
// The import end to end, through the C++ entry point and the exported function.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

#include "dorvan_marker/dorvan_marker.h"
#include "dorvan_marker/import.hpp"
#include "dorvan_marker/report.hpp"
#include "support/test_support.hpp"

using dorvan_marker::HostFilePaths;
using dorvan_marker::ImportMarker;
using dorvan_marker::ImportStatus;

namespace {

const std::string kExampleFolder = std::string(DORVAN_EXAMPLES) + "/jacket";
using test::CopyExample;

HostFilePaths In(const test::TempDir& dir) { return {dir / "csvimprt.txt", dir / "posimport.txt"}; }

const char* const kBroken = "IGEO:INUM\nIBA:VNUM\nVART:VEXT\nVMDL:VNMD\n1:9\n2:1\n3:MDL\n4:x\n";

}  // namespace

TEST(ImportMarker, ImportsTheExample) {
  test::TempDir out;
  std::size_t placements = 0;
  const auto result = ImportMarker(kExampleFolder + "/spring jacket.txt", In(out), {}, placements);
  ASSERT_EQ(result.status, ImportStatus::Imported) << result.message;
  EXPECT_EQ(result.title, "SPRING JACKET");
  EXPECT_EQ(result.message, "");
  EXPECT_EQ(placements, 24u);  // the lines of the placement file
  EXPECT_EQ(test::ReadFile(out / "csvimprt.txt"), test::ReadFile(kExampleFolder + "/expected/csvimprt.txt"));
  EXPECT_EQ(test::ReadFile(out / "posimport.txt"), test::ReadFile(kExampleFolder + "/expected/posimport.txt"));
  EXPECT_EQ(test::ListFolder(out.Path()), (std::vector<std::string>{"csvimprt.txt", "posimport.txt"}));
}

TEST(ImportMarker, NamesTheMarkerAfterItsFile) {
  test::TempDir dir;
  const auto result = ImportMarker(CopyExample(dir, "spring.lay 2.txt"), In(dir));
  ASSERT_EQ(result.status, ImportStatus::Imported) << result.message;
  EXPECT_EQ(result.title, "SPRING-LAY 2");
  EXPECT_NE(test::ReadFile(dir / "csvimprt.txt").find("m:SPRING-LAY 2-38\r\n"), std::string::npos);
}

TEST(ImportMarker, FailsWithoutTouchingEarlierHostFiles) {
  test::TempDir dir;
  const std::string marker = CopyExample(dir, "m.txt");
  test::WriteFile(dir / "broken.txt", kBroken);
  test::WriteFile(dir / "nomodels.txt", "PLC:PNAM\n1:x\n");
  test::WriteFile(dir / "late-error.txt",
                  // Everything is fine until the writer meets an angle it cannot round.
                  "VART:VEXT\nVMDL:VNUM:VTAN\nIBA:IART:VNUM\nIGEO:INUM:IGRF\n1:MDL\n2:1:38\n3:a:1\n4:1:0\n4:1:1e30\n");
  test::TempDir out;
  test::WriteFile(out / "csvimprt.txt", "earlier command file\r\n");
  test::WriteFile(out / "posimport.txt", "earlier placement file\r\n");
  const struct {
    std::string marker;
    HostFilePaths paths;
    ImportStatus status;
    std::string message;
  } cases[] = {
      {dir / "missing.txt", In(out), ImportStatus::CannotOpen,
       "cannot open " + (dir / "missing.txt") + ": no such file"},
      {dir.Path(), In(out), ImportStatus::CannotOpen, "cannot open " + dir.Path() + ": a folder"},
      {dir / "nomodels.txt", In(out), ImportStatus::NoModels,
       dir / "nomodels.txt" + " is an invalid Dorvan marker file.  No models were found."},
      {dir / "broken.txt", In(out), ImportStatus::Malformed,
       dir / "broken.txt" + ":5: \"IGEO\" record 1: \"INUM\" \"9\" points outside the 1 piece records"},
      {dir / "late-error.txt", In(out), ImportStatus::Malformed,
       dir / "late-error.txt" + ":9: \"IGEO\" record 2: \"IGRF\" \"1e30\" gives an angle that cannot be rounded"},
  };
  for (const auto& c : cases) {
    const auto result = ImportMarker(c.marker, c.paths);
    EXPECT_EQ(result.status, c.status) << c.marker;
    EXPECT_EQ(result.message, c.message) << c.marker;
    EXPECT_EQ(result.title, "") << c.marker;
    EXPECT_EQ(test::ReadFile(out / "csvimprt.txt"), "earlier command file\r\n") << c.marker;
    EXPECT_EQ(test::ReadFile(out / "posimport.txt"), "earlier placement file\r\n") << c.marker;
    EXPECT_EQ(test::ListFolder(out.Path()), (std::vector<std::string>{"csvimprt.txt", "posimport.txt"})) << c.marker;
  }
}

TEST(ImportMarker, ReadsAndWritesNumbersWithAPointUnderACommaLocale) {
  test::TempDir dir;
  const std::string marker = CopyExample(dir, "m.txt");
  test::TempDir before, after;
  ASSERT_EQ(ImportMarker(marker, In(before)).status, ImportStatus::Imported);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  // Twice: a first import must not change how a second one reads "LLEZ" or writes "%f".
  ASSERT_EQ(ImportMarker(marker, In(after)).status, ImportStatus::Imported);
  ASSERT_EQ(ImportMarker(marker, In(after)).status, ImportStatus::Imported);
  EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "de_DE.UTF-8") << "the process locale is unchanged";
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(test::ReadFile(after / "csvimprt.txt"), test::ReadFile(before / "csvimprt.txt"));
  EXPECT_EQ(test::ReadFile(after / "posimport.txt"), test::ReadFile(before / "posimport.txt"));
  EXPECT_NE(test::ReadFile(after / "csvimprt.txt").find("w:59.055118\r\n"), std::string::npos);
}

TEST(ImportMarker, RejectsAnUnknownCodePage) {
  test::TempDir out;
  dorvan_marker::ImportOptions options;
  options.code_page = "klingon";
  const auto result = ImportMarker(kExampleFolder + "/spring jacket.txt", In(out), options);
  EXPECT_EQ(result.status, ImportStatus::Malformed);
  EXPECT_EQ(result.message,
            kExampleFolder + "/spring jacket.txt: unknown code page \"klingon\" (1252, 932, 936, 949, 950 or utf-8)");
}

TEST(ImportMarker, ReadsNoModelFileThatAMarkerNamesOutsideItsFolder) {
  // The example with its model names (read for sizes, piece names and both routes of
  // rotation and scale) climbing to ../secret, where its model files lie at the second import.
  test::TempDir dir;
  std::filesystem::create_directories(dir / "lays");
  std::filesystem::create_directories(dir / "secret");
  std::string text = test::ReadFile(kExampleFolder + "/spring jacket.txt");
  for (std::size_t at = 0; (at = text.find(":JACKET", at)) != std::string::npos; at += 10) {
    text.insert(at + 1, "../secret/");
  }
  text.replace(text.find(":TROUSERS:"), 1, ":../secret/");
  text.replace(text.find(":TROUSERS:"), 1, ":../secret/");
  test::WriteFile(dir / "lays/m.txt", text);
  test::TempDir missing, present;
  ASSERT_EQ(ImportMarker(dir / "lays/m.txt", In(missing)).status, ImportStatus::Imported);
  for (const char* model : {"JACKET.mdl", "TROUSERS.mdl"}) {
    test::WriteFile(dir / "secret/" + model, test::ReadFile(kExampleFolder + "/" + model));
  }
  ASSERT_EQ(ImportMarker(dir / "lays/m.txt", In(present)).status, ImportStatus::Imported);
  for (const char* file : {"csvimprt.txt", "posimport.txt"}) {
    EXPECT_EQ(test::ReadFile(present / file), test::ReadFile(missing / file)) << file;
  }

  // Reported as missing model files are, with a code of its own at the first record naming each.
  const auto report = dorvan_marker::InspectMarker(dir / "lays/m.txt");
  std::vector<std::pair<std::string, std::size_t>> seen;
  for (const auto& d : report.diagnostics) seen.emplace_back(d.code, d.where.line);
  EXPECT_EQ(seen, (decltype(seen){{"model-name-unsafe", 8},
                                  {"model-name-unsafe", 17},
                                  {"size-unresolved", 20},
                                  {"size-unresolved", 21},
                                  {"size-unresolved", 22}}));
  EXPECT_EQ(report.diagnostics.at(0).message,
            "model name \"../secret/JACKET\" is not a plain file name, so no model file is opened for it (named by 9 "
            "records): what the import asks of it stays unknown");
}
