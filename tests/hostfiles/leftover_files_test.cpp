// SPDX-License-Identifier: MIT
// What killed imports left beside the host files goes with the next import into the
// folder; what a running import holds, and every name that is not the library's, stays.
#include <gtest/gtest.h>

#include <algorithm>

#include "dorvan_marker/import.hpp"
#include "platform/native_file_system.hpp"
#include "support/test_support.hpp"

TEST(LeftoverFiles, TheNextImportRemovesOnlyDeadImportsFiles) {
  const struct {
    const char* name;
    bool held;  // by a running import
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
  test::TempDir dir;
  test::TempDir out;
  dorvan_marker::NativeFileSystem file_system;
  std::vector<dorvan_marker::SystemHandle> held;
  std::vector<std::string> expected{"csvimprt.txt", "posimport.txt"};
  for (const auto& c : cases) {
    dorvan_marker::SystemHandle handle = dorvan_marker::kNoHandle;
    ASSERT_TRUE(file_system.CreateHeld(out / c.name, handle).Ok()) << c.name;
    c.held ? held.push_back(handle) : file_system.Release(handle);
    if (!c.removed) expected.push_back(c.name);
  }
  const std::string marker = test::CopyExample(dir, "m.txt");
  const auto result = dorvan_marker::ImportMarker(marker, {out / "csvimprt.txt", out / "posimport.txt"});
  ASSERT_EQ(result.status, dorvan_marker::ImportStatus::Imported) << result.message;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(test::ListFolder(out.Path()), expected);
  for (const auto handle : held) file_system.Release(handle);
}
