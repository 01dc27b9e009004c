// SPDX-License-Identifier: MIT
// The two host files in a folder named by a caller (the command line's --out-dir).
#include <gtest/gtest.h>

#include "dorvan_marker/import.hpp"

TEST(HostFilePathsIn, AddsASeparatorOnlyWhereTheFolderLacksOne) {
  const struct {
    std::string folder;
    std::string prefix;  // what comes before each file's name
  } cases[] = {
      {"", ""}, {"out", "out/"}, {"out/", "out/"}, {"/", "/"}, {"out\\", "out\\/"},  // a backslash is no separator here
  };
  for (const auto& c : cases) {
    const dorvan_marker::HostFilePaths paths = dorvan_marker::HostFilePathsIn(c.folder);
    EXPECT_EQ(paths.command_file, c.prefix + "csvimprt.txt") << c.folder;
    EXPECT_EQ(paths.placement_file, c.prefix + "posimport.txt") << c.folder;
  }
}
