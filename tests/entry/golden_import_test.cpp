// SPDX-License-Identifier: MIT
// Host files of every golden marker, compared by SHA-256 with the digests recorded in
// tests/data/golden/expected.txt. The digests were taken before any change to speed, so
// that making the import faster can never change a byte it writes, nor which markers
// are refused.
//
// After a deliberate change of output, rewrite the table with
//   DORVAN_UPDATE_GOLDEN=1 build/release/tests/dorvan_marker_tests --gtest_filter='GoldenImport*'
// and review every changed line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "dorvan_marker/import.hpp"
#include "marker_generator.hpp"
#include "support/sha256.hpp"
#include "support/test_support.hpp"

namespace {

const std::string kGolden = std::string(DORVAN_TEST_DATA) + "/golden";
const std::string kTable = kGolden + "/expected.txt";

struct Case {
  std::string name;
  std::string marker_path;
};

// One line of the table: name, status, and the digests of the marker, of csvimprt.txt and
// of posimport.txt ("-" for host files that a refused import does not write).
std::string Outcome(const Case& c, const test::TempDir& out) {
  const dorvan_marker::HostFilePaths paths{out / "csvimprt.txt", out / "posimport.txt"};
  std::filesystem::remove(paths.command_file);
  std::filesystem::remove(paths.placement_file);
  const dorvan_marker::ImportResult result = dorvan_marker::ImportMarker(c.marker_path, paths);
  std::ostringstream line;
  line << c.name << " " << static_cast<int>(result.status) << " " << test::Sha256Hex(test::ReadFile(c.marker_path));
  const bool imported = result.status == dorvan_marker::ImportStatus::Imported;
  line << " " << (imported ? test::Sha256Hex(test::ReadFile(paths.command_file)) : "-");
  line << " " << (imported ? test::Sha256Hex(test::ReadFile(paths.placement_file)) : "-");
  return line.str();
}

std::map<std::string, std::string> ReadTable() {
  std::map<std::string, std::string> table;
  std::istringstream in(test::Exists(kTable) ? test::ReadFile(kTable) : "");
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '#') table[line.substr(0, line.find(' '))] = line;
  }
  return table;
}

TEST(GoldenImport, Sha256MatchesKnownDigests) {
  EXPECT_EQ(test::Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(test::Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // 56 bytes: the padding needs a second block.
  EXPECT_EQ(test::Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

TEST(GoldenImport, HostFilesAndRefusalsAreUnchanged) {
  test::TempDir generated;
  std::vector<Case> cases;
  std::vector<std::string> markers;
  for (const auto& entry : std::filesystem::directory_iterator(kGolden)) {
    if (entry.path().extension() == ".txt" && entry.path().filename() != "expected.txt") {
      markers.push_back(entry.path().filename().string());
    }
  }
  std::sort(markers.begin(), markers.end());
  for (const std::string& marker : markers) cases.push_back({marker, kGolden + "/" + marker});
  cases.push_back({"example-spring-jacket", std::string(DORVAN_EXAMPLES) + "/jacket/spring jacket.txt"});
  // B: more placements than the placement file keeps the geometry of at once.
  const dorvan_marker::bench::MarkerShape batches{"B", 20, 200, 160000, 20, 200, 15};
  for (const auto& shape : {dorvan_marker::bench::SmallShape(), dorvan_marker::bench::MediumShape(), batches}) {
    std::filesystem::create_directory(generated / shape.name);
    cases.push_back({"generated-" + shape.name, dorvan_marker::bench::WriteMarker(shape, generated / shape.name)});
  }

  test::TempDir out;
  if (std::getenv("DORVAN_UPDATE_GOLDEN") != nullptr) {
    std::string table = "# name, import status, SHA-256 of the marker, of csvimprt.txt and of posimport.txt\n";
    for (const Case& c : cases) table += Outcome(c, out) + "\n";
    test::WriteFile(kTable, table);
    GTEST_SKIP() << "wrote " << kTable;
  }
  const std::map<std::string, std::string> expected = ReadTable();
  ASSERT_EQ(expected.size(), cases.size()) << "the table and the golden markers differ; see " << kTable;
  for (const Case& c : cases) {
    const auto found = expected.find(c.name);
    ASSERT_NE(found, expected.end()) << c.name << " is not in " << kTable;
    EXPECT_EQ(Outcome(c, out), found->second) << c.name;
  }
}

}  // namespace
