// SPDX-License-Identifier: MIT
// A folder's lock, as other imports see it: one for every spelling of the folder, and
// nothing left in it.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/native_file_system.hpp"
#include "support/test_support.hpp"

TEST(NativeFileSystem, AFolderLockKeepsOutEverySpellingOfTheFolderUntilLetGo) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "a/b");
  dorvan_marker::NativeFileSystem file_system;
  std::string identity;
  std::string same;
  std::string other;
  ASSERT_TRUE(file_system.FolderIdentity(dir / "a", identity).Ok());
  ASSERT_TRUE(file_system.FolderIdentity(dir / "a/b/../.", same).Ok());
  ASSERT_TRUE(file_system.FolderIdentity(dir / "a/b", other).Ok());
  EXPECT_EQ(identity, same);
  EXPECT_NE(identity, other);

  dorvan_marker::SystemHandle lock = dorvan_marker::kNoHandle;
  dorvan_marker::SystemHandle second = dorvan_marker::kNoHandle;
  ASSERT_TRUE(file_system.LockFolder(dir / "a", identity, 0, lock).Ok());
  EXPECT_EQ(file_system.LockFolder(dir / "a/b/../.", same, 50, second).kind,
            dorvan_marker::FileOutcome::Kind::TimedOut);
  file_system.UnlockFolder(lock);
  ASSERT_TRUE(file_system.LockFolder(dir / "a/b/../.", same, 0, second).Ok());
  file_system.UnlockFolder(second);
  EXPECT_EQ(test::ListFolder(dir / "a"), std::vector<std::string>{"b"});
}
