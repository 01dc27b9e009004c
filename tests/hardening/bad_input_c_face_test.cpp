// SPDX-License-Identifier: MIT
// The bad-input table's call faults at the C face: a result code and, where the caller
// gave room for one, a message; the host folder untouched unless the import succeeded.
#include <gtest/gtest.h>

#include <string>

#include "dorvan_marker/dorvan_marker_c.h"
#include "hardening/bad_inputs.hpp"

namespace {

using test::CallFault;

class BadInputCFace : public ::testing::TestWithParam<std::size_t> {};

// A caller built against a later version: its options go on beyond this version's.
struct NewerOptions {
  dorvan_marker_options known;
  const char* later;
};

}  // namespace

TEST_P(BadInputCFace, EndsAsTabled) {
  const test::BadInput& row = test::BadInputs()[GetParam()];
  test::TempDir dir;
  const std::string marker_path = row.make(dir);
  const std::string out_path = test::PrepareOutFolder(dir, row);
  NewerOptions options{{sizeof(NewerOptions), nullptr, nullptr}, "unknown to this version"};
  const char* marker = row.fault == CallFault::kNullMarker ? nullptr : marker_path.c_str();
  const char* out = row.fault == CallFault::kNullFolder ? nullptr : out_path.c_str();
  const std::size_t name_size = row.fault == CallFault::kEmptyNameBuffer ? 0 : DORVAN_MARKER_NAME_SIZE;
  const std::size_t message_size = row.fault == CallFault::kEmptyMessageBuffer ? 0 : 1024;
  if (row.fault == CallFault::kOptionsTooSmall) options.known.size = sizeof(std::size_t);

  char name[DORVAN_MARKER_NAME_SIZE] = "caller";
  char message[1024] = "untouched";
  EXPECT_EQ(dorvan_marker_import(marker, out, &options.known, name, name_size, message, message_size),
            static_cast<int>(row.import));
  EXPECT_EQ(message, message_size == 0 ? "untouched" : test::Expand(row.message, marker_path, out_path));
  EXPECT_STREQ(name, row.import == test::Outcome::Imported ? "MARKER" : "caller");
  EXPECT_EQ(test::ReadFile(out_path + "/posimport.txt"),
            row.placement.empty() ? test::kOldPlacementFile : row.placement);

  // The faults of the arguments every function takes end the other functions' calls too.
  const bool shared = row.fault == CallFault::kNullMarker || row.fault == CallFault::kEmptyMessageBuffer ||
                      row.fault == CallFault::kOptionsTooSmall;
  if (shared) {
    EXPECT_EQ(dorvan_marker_style_names(marker, &options.known, nullptr, 0, nullptr, nullptr, message, message_size),
              DORVAN_MARKER_BAD_CALL);
    EXPECT_EQ(dorvan_marker_inspect_json(marker, &options.known, nullptr, 0, nullptr, message, message_size),
              DORVAN_MARKER_BAD_CALL);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, BadInputCFace, ::testing::ValuesIn(test::RowsWithFault(true)), test::RowName);
