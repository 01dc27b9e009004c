// SPDX-License-Identifier: MIT
// ImportDorvanFile, which writes to the fixed host paths. The tests get /userroot/temp of
// their own: an empty file system mounted over it in a private mount namespace, so that
// whatever the machine keeps there is neither read nor changed.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "dorvan_marker/dorvan_marker.h"
#include "dorvan_marker/import.hpp"
#include "support/test_support.hpp"

using dorvan_marker::HostFilePaths;

namespace {

const char* const kHostFolder = "/userroot/temp";
const std::string kExpected = std::string(DORVAN_TEST_DATA) + "/../windows/expected/";
using test::CopyExample;
const char* const kBroken = "IGEO:INUM\nIBA:VNUM\nVART:VEXT\nVMDL:VNMD\n1:9\n2:1\n3:MDL\n4:x\n";

// Root of a new user namespace, for a process that is not root: enough to mount.
bool BecomeRootOfOwnNamespace() {
  const uid_t uid = getuid();
  const gid_t gid = getgid();
  if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
  std::ofstream("/proc/self/setgroups") << "deny";
  std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
  std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
  return getuid() == 0;
}

// Mounts an empty tmpfs over the host folder, in a mount namespace of this process's own;
// made names the folder to remove afterwards, if it had to be made. Empty when done, else
// why not.
std::string MountPrivateHostFolder(std::string& made) {
  if (unshare(CLONE_NEWNS) != 0 && !BecomeRootOfOwnNamespace()) return "no mount namespace of our own";
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return "mounts cannot be made private";
  std::error_code error;
  if (!std::filesystem::exists(kHostFolder)) made = std::filesystem::exists("/userroot") ? kHostFolder : "/userroot";
  std::filesystem::create_directories(kHostFolder, error);
  if (!std::filesystem::is_directory(kHostFolder)) return std::string(kHostFolder) + " cannot be made";
  if (mount("tmpfs", kHostFolder, "tmpfs", 0, "mode=0777,size=16m") != 0) return "no tmpfs over the host folder";
  return {};
}

}  // namespace

class ImportDorvanFileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { unavailable_ = MountPrivateHostFolder(made_); }
  static void TearDownTestSuite() {
    umount(kHostFolder);
    std::error_code error;
    if (!made_.empty()) std::filesystem::remove_all(made_, error);
  }
  void SetUp() override {
    if (!unavailable_.empty()) GTEST_SKIP() << unavailable_;
  }
  void TearDown() override {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kHostFolder, error)) {
      std::filesystem::remove_all(entry.path(), error);
    }
  }

  const HostFilePaths paths_ = dorvan_marker::FixedHostFilePaths();
  static inline std::string unavailable_;
  static inline std::string made_;
};

TEST_F(ImportDorvanFileTest, ImportsIntoTheFixedPlaces) {
  test::TempDir dir;
  const std::string marker = CopyExample(dir, "spring.lay 2.txt");
  char name[256];
  std::memset(name, 'z', sizeof name);
  std::strcpy(name, "caller");
  EXPECT_EQ(ImportDorvanFile(marker.c_str(), name), DORVAN_IMPORT_OK);
  EXPECT_STREQ(name, "SPRING-LAY 2");
  EXPECT_EQ(test::ReadFile(paths_.command_file), test::ReadFile(kExpected + "csvimprt.txt"));
  EXPECT_EQ(test::ReadFile(paths_.placement_file), test::ReadFile(kExpected + "posimport.txt"));
  EXPECT_EQ(test::ListFolder(kHostFolder), (std::vector<std::string>{"csvimprt.txt", "posimport.txt"}));
  EXPECT_EQ(ImportDorvanFile(marker.c_str(), nullptr), DORVAN_IMPORT_OK) << "a null buffer is not written";
}

TEST_F(ImportDorvanFileTest, HandsBackAMarkerNameOfTheWholeBuffer) {
  // A file name of 255 bytes and no extension is a name of 255 bytes: the buffer's 256
  // with the zero.
  test::TempDir dir;
  char name[256];
  std::memset(name, 'z', sizeof name);
  EXPECT_EQ(ImportDorvanFile(CopyExample(dir, std::string(255, 'n')).c_str(), name), DORVAN_IMPORT_OK);
  EXPECT_EQ(std::string(name), std::string(255, 'N'));
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
      {std::string(70, 'c'),
       "KOV: " + std::string(70, 'c') + " is an invalid Dorvan marker file.  No models were found.\n"},
      {std::string(200, 'c'),
       "KOV: " + (std::string(200, 'c') + " is an invalid Dorvan marker file.  No models were found.").substr(0, 127) +
           "\n"},
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
