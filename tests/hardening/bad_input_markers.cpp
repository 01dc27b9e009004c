// SPDX-License-Identifier: MIT
// Not a test: writes the example and the bad-input table's markers (rows without a call
// fault), each into a folder under TMPDIR that it leaves to the caller, with what the C++
// API makes of it (see tests/python/module_test.py), and prints "name TAB folder TAB marker".
#include <filesystem>
#include <iostream>

#include "dorvan_marker/json.hpp"
#include "hardening/bad_inputs.hpp"

int main() {
  std::vector<test::BadInput> rows{
      {"example", [](const test::TempDir& dir) { return test::CopyExample(dir, "spring jacket.txt"); }}};
  for (const std::size_t i : test::RowsWithFault(false)) rows.push_back(test::BadInputs()[i]);
  for (const test::BadInput& row : rows) {
    const auto& dir = *new test::TempDir;  // kept for the caller
    const std::string marker = row.make(dir), out = test::PrepareOutFolder(dir, row);
    std::vector<std::string> styles;
    std::string names = std::to_string(static_cast<int>(dorvan_marker::ReadStyleList(marker, styles).status)) + "\n";
    for (const std::string& style : styles) names.append(style).push_back('\0');
    test::WriteFile(dir / "styles", names);
    const auto imported = dorvan_marker::ImportMarker(marker, dorvan_marker::HostFilePathsIn(out));
    test::WriteFile(dir / "import", std::to_string(static_cast<int>(imported.status)) + "\n" + imported.title +
                                        std::string(1, '\0') + imported.message);
    std::error_code absent;  // a row without a host folder has none to keep
    std::filesystem::rename(out, dir / "cpp-out", absent);
    test::PrepareOutFolder(dir, row);  // as it was, for the caller's import
    test::WriteFile(dir / "inspect.json", dorvan_marker::InspectJson({dorvan_marker::InspectMarkerSheet(marker)},
                                                                     dorvan_marker::CodePageName({})));
    std::cout << row.name << '\t' << dir.Path() << '\t' << marker << '\n';
  }
}
