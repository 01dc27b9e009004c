// SPDX-License-Identifier: MIT
// Imports of different markers into one folder at once, from processes of the command line
// and from threads of one host: every import succeeds, and the folder ends with the two host
// files of one and the same import.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "dorvan_marker/dorvan_marker.h"
#include "dorvan_marker/import.hpp"
#include "dorvan_marker/report.hpp"
#include "marker_generator.hpp"
#include "support/command_runner.hpp"
#include "support/test_support.hpp"

namespace {

constexpr int kMarkers = 6;
using Pair = std::pair<std::string, std::string>;  // the command file and the placement file

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
      const auto seed = static_cast<std::uint64_t>(100 + i);
      paths.push_back(dorvan_marker::bench::WriteMarker({"M" + std::to_string(i), 8, 40, 1500, 10, 60, seed}, folder));
      const auto result =
          dorvan_marker::ImportMarker(paths.back(), {folder + "/csvimprt.txt", folder + "/posimport.txt"});
      alone.push_back(ReadPair(folder));
      titles.push_back(result.title);
    }
  }

  // The folder holds the two host files only, both those of one marker imported alone.
  bool HoldOnePair(const std::string& folder) const {
    return test::ListFolder(folder) == std::vector<std::string>{"csvimprt.txt", "posimport.txt"} &&
           std::find(alone.begin(), alone.end(), ReadPair(folder)) != alone.end();
  }
};

}  // namespace

TEST(ConcurrentImports, ProcessesIntoOneFolderLeaveOnePair) {
#if !defined(DORVAN_CLI)
  GTEST_SKIP() << "built without the command line";
#else
  constexpr int kRounds = 25;
  const Markers markers;
  const std::string out = markers.dir / "out";
  std::filesystem::create_directory(out);
  // All six started at once; the shell's exit status counts those that failed.
  std::string script;
  for (int i = 0; i < kMarkers; ++i) {
    script += test::Quote(DORVAN_CLI) + " import " + test::Quote(markers.paths[i]) + " --out-dir " + test::Quote(out) +
              " >/dev/null & p" + std::to_string(i) + "=$!; ";
  }
  script += "failed=0; for p in";
  for (int i = 0; i < kMarkers; ++i) script += " $p" + std::to_string(i);
  script += "; do wait $p || failed=$((failed + 1)); done; exit $failed";
  int failed_imports = 0;
  int mixed_rounds = 0;
  for (int round = 0; round < kRounds; ++round) {
    const int status = std::system(("sh -c " + test::Quote(script)).c_str());
    failed_imports += WIFEXITED(status) ? WEXITSTATUS(status) : kMarkers;
    mixed_rounds += markers.HoldOnePair(out) ? 0 : 1;
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
        // The report (dorvan-marker report makes its pages on several threads) runs the same road.
        const bool reported = dorvan_marker::InspectMarker(markers.paths[i]).title == markers.titles[i];
        if (!styles_right || result != DORVAN_IMPORT_OK || markers.titles[i] != name || !reported) ++wrong[i];
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
