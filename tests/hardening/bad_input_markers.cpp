// SPDX-License-Identifier: MIT
// Not a test by itself: writes the example and the markers of the bad-input table (the rows
// without a call fault) with what the C++ API makes of each, for the clients in other
// languages to be held against (tests/python/module_test.py). Each row gets a folder under
// the system's temporary folder (TMPDIR), which it leaves for the caller to remove:
//   styles        the status of ReadStyleList, a line feed, then each name and a NUL
//   import        the status of ImportMarker, a line feed, the title, a NUL, the message
//   cpp-out/      the host folder after that import (the row's earlier pair, if it has one)
//   out/          the row's host folder as it was before, for the client to import into
//   inspect.json  InspectJson of InspectMarker
// and prints a line per row: its name, a tab, the folder, a tab, the marker path.
#include <filesystem>
#include <iostream>

#include "dorvan_marker/json.hpp"
#include "hardening/bad_inputs.hpp"

int main() {
  std::vector<test::BadInput> rows{
      {"example", [](const test::TempDir& dir) { return test::CopyExample(dir, "spring jacket.txt"); }}};
  for (const std::size_t i : test::RowsWithFault(false)) rows.push_back(test::BadInputs()[i]);
  for (const test::BadInput& row : rows) {
    const auto* dir = new test::TempDir;  // kept: the caller reads it, then removes TMPDIR
    const std::string marker = row.make(*dir);
    std::vector<std::string> styles;
    const auto listed = dorvan_marker::ReadStyleList(marker, styles);
    std::string names;
    for (const std::string& style : styles) names.append(style).push_back('\0');
    test::WriteFile(*dir / "styles", std::to_string(static_cast<int>(listed.status)) + "\n" + names);

    const std::string out = test::PrepareOutFolder(*dir, row);
    const auto imported = dorvan_marker::ImportMarker(marker, dorvan_marker::HostFilePathsIn(out));
    test::WriteFile(*dir / "import", std::to_string(static_cast<int>(imported.status)) + "\n" + imported.title +
                                         std::string(1, '\0') + imported.message);
    std::error_code absent;  // a row whose host folder is missing has none to keep
    std::filesystem::rename(out, *dir / "cpp-out", absent);
    test::PrepareOutFolder(*dir, row);

    test::WriteFile(*dir / "inspect.json", dorvan_marker::InspectJson({dorvan_marker::InspectMarker(marker)},
                                                                      dorvan_marker::CodePageName({})));
    std::cout << row.name << '\t' << dir->Path() << '\t' << marker << '\n';
  }
}
