// SPDX-License-Identifier: MIT
// Imports of different markers into one folder at once, from processes of the command line
// and from threads of one host: every import succeeds, and the folder ends with the two host
// files of one and the same import.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "dorvan_marker/dorvan_marker.h"
#include "dorvan_marker/import.hpp"
#include "marker_generator.hpp"
#include "support/test_support.hpp"

namespace {

constexpr int kMarkers = 6;

struct Pair {
  std::string command;
  std::string placement;
  bool operator==(const Pair&) const = default;
};

Pair ReadPair(const std::string& folder) {
  return {test::ReadFile(folder + "/csvimprt.txt"), test::ReadFile(folder + "/posimport.txt")};
}

// Six markers of different content, and the pair and name each gives imported alone.
struct Markers {
  test::TempDir dir;
  std::vector<std::string> paths;
  std::vector<Pair> alone;
  std::vector<std::string> titles;

  Markers() {
    for (int i = 0; i < kMarkers; ++i) {
      const std::string folder = dir / ("m" + std::to_string(i));
      std::filesystem::create_directory(folder);
      // Large enough that imports overlap, small enough for many rounds.
      const dorvan_marker::bench::MarkerShape shape{"M" + std::to_string(i), 8, 40, 1500, 10, 60,
                                                    100 + static_cast<std::uint64_t>(i)};
      paths.push_back(dorvan_marker::bench::WriteMarker(shape, folder));
      const auto result = dorvan_marker::ImportMarker(paths.back(), {folder + "/csvimprt.txt", folder + "/posimport.txt"});
      if (result.status != dorvan_marker::ImportStatus::Imported) throw std::runtime_error(result.message);
      alone.push_back(ReadPair(folder));
      titles.push_back(result.title);
    }
  }

  // The folder holds the two host files only, both those of one marker imported alone.
  ::testing::AssertionResult HoldOnePair(const std::string& folder) const {
    const auto names = test::ListFolder(folder);
    if (names != std::vector<std::string>{"csvimprt.txt", "posimport.txt"}) {
      std::string listed;
      for (const auto& name : names) listed += " " + name;
      return ::testing::AssertionFailure() << "the folder holds" << listed;
    }
    const Pair pair = ReadPair(folder);
    for (const Pair& one : alone) {
      if (pair == one) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the two files come from different imports";
  }
};

#if defined(DORVAN_CLI)
pid_t StartImport(const std::string& marker, const std::string& folder) {
  const char* argv[] = {DORVAN_CLI, "import", marker.c_str(), "--out-dir", folder.c_str(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawn(&pid, DORVAN_CLI, &actions, nullptr, const_cast<char**>(argv), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}
#endif

}  // namespace

TEST(ConcurrentImports, ProcessesIntoOneFolderLeaveOnePair) {
#if !defined(DORVAN_CLI)
  GTEST_SKIP() << "built without the command line";
#else
  constexpr int kRounds = 25;
  const Markers markers;
  const std::string out = markers.dir / "out";
  std::filesystem::create_directory(out);
  int failed_imports = 0;
  int mixed_rounds = 0;
  for (int round = 0; round < kRounds; ++round) {
    std::vector<pid_t> started;
    for (const std::string& marker : markers.paths) started.push_back(StartImport(marker, out));
    for (const pid_t pid : started) {
      int status = -1;
      ASSERT_EQ(waitpid(pid, &status, 0), pid);
      if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failed_imports;
    }
    const auto one_pair = markers.HoldOnePair(out);
    if (!one_pair) ++mixed_rounds;
    EXPECT_TRUE(one_pair) << "round " << round;
  }
  EXPECT_EQ(failed_imports, 0) << "of " << kRounds * kMarkers;
  EXPECT_EQ(mixed_rounds, 0) << "of " << kRounds;
  std::printf("[ %d processes x %d rounds: %d imports failed, %d rounds left another pair ]\n", kMarkers, kRounds,
              failed_imports, mixed_rounds);
#endif
}

// ImportDorvanFile writes to the fixed host folder: run only where it exists or can be
// made (CI runs as root); CTest runs it alone (RESOURCE_LOCK userroot).
TEST(ConcurrentImports, ThreadsOfOneHostGetTheirOwnResults) {
  const dorvan_marker::HostFilePaths fixed = dorvan_marker::FixedHostFilePaths();
  const std::string folder = std::filesystem::path(fixed.command_file).parent_path().string();
  std::error_code error;
  const bool made = std::filesystem::create_directories(folder, error);
  if (access(folder.c_str(), W_OK) != 0) GTEST_SKIP() << folder << " cannot be written here";
  std::vector<std::pair<std::string, std::string>> saved;  // host files found there, put back at the end
  for (const auto& path : {fixed.command_file, fixed.placement_file}) {
    if (test::Exists(path)) saved.emplace_back(path, test::ReadFile(path));
  }
  constexpr int kRounds = 8;
  const Markers markers;
  std::vector<std::vector<std::string>> styles(kMarkers);
  for (int i = 0; i < kMarkers; ++i) ASSERT_TRUE(GetStyleList(markers.paths[i].c_str(), &styles[i]));

  std::vector<int> wrong(kMarkers, 0);
  std::vector<std::thread> threads;
  for (int i = 0; i < kMarkers; ++i) {
    threads.emplace_back([&, i] {
      for (int round = 0; round < kRounds; ++round) {
        std::vector<std::string> listed;
        char name[256] = "caller";
        const bool styles_right = GetStyleList(markers.paths[i].c_str(), &listed) && listed == styles[i];
        const int result = ImportDorvanFile(markers.paths[i].c_str(), name);
        if (!styles_right || result != DORVAN_IMPORT_OK || markers.titles[i] != name) ++wrong[i];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong, std::vector<int>(kMarkers, 0));
  EXPECT_TRUE(markers.HoldOnePair(folder));
  std::filesystem::remove(fixed.command_file, error);
  std::filesystem::remove(fixed.placement_file, error);
  for (const auto& [path, bytes] : saved) test::WriteFile(path, bytes);
  if (made) std::filesystem::remove_all(std::filesystem::path(folder).parent_path(), error);
}
