// SPDX-License-Identifier: MIT
// The operating system's side of the host files: held files and folder locks, as other
// imports see them.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "platform/native_file_system.hpp"
#include "support/test_support.hpp"

using dorvan_marker::FileOutcome;
using dorvan_marker::NativeFileSystem;
using dorvan_marker::SystemHandle;

TEST(NativeFileSystem, AHeldFileIsNeitherCreatedAgainNorRemovedUntilLetGo) {
  test::TempDir dir;
  NativeFileSystem file_system;
  SystemHandle held = dorvan_marker::kNoHandle;
  SystemHandle again = dorvan_marker::kNoHandle;
  ASSERT_TRUE(file_system.CreateHeld(dir / "staged", held).Ok());
  EXPECT_EQ(file_system.CreateHeld(dir / "staged", again).kind, FileOutcome::Kind::Exists);
  EXPECT_EQ(file_system.RemoveUnheld(dir / "staged").kind, FileOutcome::Kind::Busy);
  EXPECT_TRUE(test::Exists(dir / "staged"));
  file_system.Release(held);
  EXPECT_TRUE(file_system.RemoveUnheld(dir / "staged").Ok());
  EXPECT_FALSE(test::Exists(dir / "staged"));
}

TEST(NativeFileSystem, AFolderLockKeepsOutEverySpellingOfTheFolderUntilLetGo) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "a/b");
  NativeFileSystem file_system;
  std::string identity;
  std::string same;
  std::string other;
  ASSERT_TRUE(file_system.FolderIdentity(dir / "a", identity).Ok());
  ASSERT_TRUE(file_system.FolderIdentity(dir / "a/b/../.", same).Ok());
  ASSERT_TRUE(file_system.FolderIdentity(dir / "a/b", other).Ok());
  EXPECT_EQ(identity, same);
  EXPECT_NE(identity, other);

  SystemHandle lock = dorvan_marker::kNoHandle;
  SystemHandle waiting = dorvan_marker::kNoHandle;
  ASSERT_TRUE(file_system.LockFolder(dir / "a", identity, 0, lock).Ok());
  EXPECT_EQ(file_system.LockFolder(dir / "a/b/../.", same, 50, waiting).kind, FileOutcome::Kind::TimedOut);
  SystemHandle beside = dorvan_marker::kNoHandle;
  ASSERT_TRUE(file_system.LockFolder(dir / "a/b", other, 0, beside).Ok());
  file_system.UnlockFolder(beside);
  // Another thread waits, and has the lock once the holder lets go.
  FileOutcome waited;
  std::thread waiter([&] { waited = file_system.LockFolder(dir / "a", identity, 10000, waiting); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  file_system.UnlockFolder(lock);
  waiter.join();
  EXPECT_TRUE(waited.Ok()) << waited.reason;
  file_system.UnlockFolder(waiting);
  EXPECT_EQ(test::ListFolder(dir / "a"), std::vector<std::string>{"b"}) << "the lock leaves nothing in the folder";
}
