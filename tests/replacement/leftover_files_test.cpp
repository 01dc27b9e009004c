// SPDX-License-Identifier: MIT
// What killed replacements left beside their targets goes with the next replacement into
// the folder; what a running one holds, and every name that is not the library's, stays.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/native_file_system.hpp"
#include "replacement/replacement_transaction.hpp"
#include "support/test_support.hpp"

TEST(LeftoverFiles, TheNextReplacementRemovesOnlyDeadOnesFiles) {
  const struct {
    const char* name;
    bool held;  // by a running replacement
    bool removed;
  } cases[] = {
      {"csvimprt.txt.0123456789abcdef.dorvan-new", false, true},
      {"posimport.txt.fedcba9876543210.dorvan-old", false, true},
      {"posimport.txt.00000000000000aa.dorvan-new", true, false},
      {"csvimprt.txt.0123456789ABCDEF.dorvan-new", false, false},
      {"csvimprt.txt.0123456789abcde.dorvan-new", false, false},
      {"csvimprt.txt.0123456789abcdef.dorvan-new.bak", false, false},
      {"csvimprt.txt.0123456789abcdef.dorvan-tmp", false, false},
      {"other.txt.0123456789abcdef.dorvan-new", false, false},
      {"csvimprt.txt.partial", false, false},
  };
  test::TempDir out;
  dorvan_marker::NativeFileSystem file_system;
  std::vector<dorvan_marker::SystemHandle> held;
  std::vector<std::string> expected{"csvimprt.txt", "posimport.txt"};
  for (const auto& c : cases) {
    dorvan_marker::SystemHandle handle = dorvan_marker::kNoHandle;
    ASSERT_TRUE(file_system.CreateHeld(out / c.name, handle).Ok()) << c.name;
    c.held ? held.push_back(handle) : (void)file_system.Close(handle);
    if (!c.removed) expected.push_back(c.name);
  }
  dorvan_marker::ReplacementTransaction({out / "csvimprt.txt", out / "posimport.txt"}).Commit();
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(test::ListFolder(out.Path()), expected);
  for (const auto handle : held) file_system.Close(handle);
}
