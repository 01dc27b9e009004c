// SPDX-License-Identifier: MIT
// The bad-input table at the two exported functions, reached through the shared library's
// symbol table as a host reaches them: the result code, the caller's name buffer and list
// untouched on failure, and the host files at the fixed place untouched too.
#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "hardening/bad_inputs.hpp"
#include "support/exported_library.hpp"

namespace {

const char* const kFixedFolder = "/userroot/temp";
const char* const kFixedFiles[] = {"/userroot/temp/csvimprt.txt", "/userroot/temp/posimport.txt"};

std::vector<std::optional<std::string>> Snapshot() {
  std::vector<std::optional<std::string>> files;
  for (const char* path : kFixedFiles) {
    files.push_back(test::Exists(path) ? std::optional<std::string>(test::ReadFile(path)) : std::nullopt);
  }
  return files;
}

constexpr char kLibrary[] = DORVAN_LIBRARY;

class BadInputExports : public test::WithExportedFunctions<::testing::TestWithParam<std::size_t>, kLibrary> {};

}  // namespace

TEST_P(BadInputExports, EndsAsTabled) {
  const test::BadInput& row = test::BadInputs()[GetParam()];
  if (test::SkippedHere(row)) GTEST_SKIP() << "a huge row: run in the build without sanitizers";
  test::TempDir dir;
  const std::string marker = row.make(dir);

  // The exported import always writes to the fixed folder: rows about another host folder
  // are, for it, good markers.
  const unsigned about_output = test::kOutFolderMissing | test::kOutFolderReadOnly | test::kHostFileReadOnly;
  int expected = (row.needs & about_output) != 0 ? 1 : static_cast<int>(row.import);
  if (expected == 1 && access(kFixedFolder, W_OK) != 0) expected = -3;
  if (row.import == test::Outcome::OutOfMemory) expected = -3;  // a result hosts know; the box says why

  const auto before = Snapshot();
  char name[256] = "caller text";
  EXPECT_EQ(import_(marker.c_str(), name), expected);
  if (expected == 1) {
    EXPECT_STREQ(name, "MARKER");
  } else {
    EXPECT_STREQ(name, "caller text");
    EXPECT_EQ(Snapshot(), before);
  }

  std::vector<std::string> styles{"KEEP"};
  EXPECT_EQ(get_style_list_(marker.c_str(), &styles), row.styles == test::Styles::Listed);
  if (row.styles != test::Styles::Listed) EXPECT_EQ(styles, std::vector<std::string>{"KEEP"});
}

INSTANTIATE_TEST_SUITE_P(Rows, BadInputExports, ::testing::ValuesIn(test::RowsWithFault(false)), test::RowName);
