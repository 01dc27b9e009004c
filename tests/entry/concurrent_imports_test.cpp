// SPDX-License-Identifier: MIT
// Imports of different markers into one folder at once from threads of one host: every
// import gets its own result, and the folder ends with the two host files of one and the
// same import. (Processes replacing one folder's pair at once are tested at the
// replacement's own seam.)
#include <gtest/gtest.h>
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
