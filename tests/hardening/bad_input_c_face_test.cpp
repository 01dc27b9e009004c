// SPDX-License-Identifier: MIT
// The bad-input table's call faults at the C face: the result, the message where there is
// room for one, the name buffer and the host folder untouched unless the import succeeded.
#include <gtest/gtest.h>

#include <cstddef>

#include "dorvan_marker/dorvan_marker_c.h"
#include "hardening/bad_inputs.hpp"

using test::CallFault;

class BadInputCFace : public ::testing::TestWithParam<std::size_t> {};

TEST_P(BadInputCFace, EndsAsTabled) {
  const test::BadInput& row = test::BadInputs()[GetParam()];
  test::TempDir dir;
  const std::string marker = row.make(dir), out = test::PrepareOutFolder(dir, row);
  struct {  // a newer caller's options go on beyond this version's
    dorvan_marker_options known;
    const char* later;
  } options{{sizeof options, nullptr, nullptr, DORVAN_MARKER_PATHS_SYSTEM}, "unknown here"};
  if (row.fault == CallFault::kOptionsTooSmall) options.known.size = sizeof(std::size_t);
  if (row.fault == CallFault::kUnknownCodePage) options.known.code_page = "1253";
  if (row.fault == CallFault::kUnknownPathEncoding) options.known.path_encoding = 7;
  if (row.fault == CallFault::kOptionsOfFirstVersion) {  // its size ends before the encoding, which is not read
    options.known.size = offsetof(dorvan_marker_options, path_encoding);
    options.known.path_encoding = 7;
  }
  char name[DORVAN_MARKER_NAME_SIZE] = "caller", message[1024] = "untouched";
  const std::size_t message_size = row.fault == CallFault::kEmptyMessageBuffer ? 0 : sizeof message;
  EXPECT_EQ(dorvan_marker_import(row.fault == CallFault::kNullMarker ? nullptr : marker.c_str(),
                                 row.fault == CallFault::kNullFolder ? nullptr : out.c_str(), &options.known, name,
                                 row.fault == CallFault::kEmptyNameBuffer ? 0 : sizeof name, message, message_size),
            static_cast<int>(row.import));
  EXPECT_EQ(message, message_size == 0 ? "untouched" : test::Expand(row.message, marker, out));
  EXPECT_STREQ(name, row.import == test::Outcome::Imported ? "MARKER" : "caller");
  EXPECT_EQ(test::ReadFile(out + "/posimport.txt"), row.placement.empty() ? test::kOldPlacementFile : row.placement);
}

INSTANTIATE_TEST_SUITE_P(Rows, BadInputCFace, ::testing::ValuesIn(test::RowsWithFault(true)), test::RowName);
