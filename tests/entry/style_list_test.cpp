// SPDX-License-Identifier: MIT
// The model names of a marker, through the C++ entry point.
#include <gtest/gtest.h>

#include "dorvan_marker/import.hpp"
#include "support/test_support.hpp"

using dorvan_marker::ReadStyleList;
using dorvan_marker::StyleListStatus;
using Names = std::vector<std::string>;

TEST(ReadStyleList, ReportsEveryOutcome) {
  test::TempDir dir;
  test::WriteFile(dir / "names.txt", "VMDL:VNUM:VNMD\n1:1:SHIRT\n1:2:SKIRT\n1:3:SHIRT\n");
  test::WriteFile(dir / "farheader.txt",
                  "1:1:SHIRT\r\n#x\r\nVMDL:VNUM:VNMD\r\n\x1A"
                  "1:2:LOST\r\n");
  test::WriteFile(dir / "nostyles.txt", "VMDL:VNMD\nIGEO:INUM\n2:1\n");
  test::WriteFile(dir / "nosection.txt", "PLC:PNAM\n1:x\n");
  test::WriteFile(dir / "broken.txt", "PLC:PNAM\nVMDL:VNMD\n1:x\n");
  test::WriteFile(dir / "noiba.txt", "VMDL:VNMD\n1:ONLY\n");
  const struct {
    std::string file;
    StyleListStatus status;
    Names names;
    std::string message;
  } cases[] = {
      {"names.txt", StyleListStatus::Listed, {"KEEP", "SHIRT", "SKIRT"}, ""},
      {"farheader.txt", StyleListStatus::Listed, {"KEEP", "SHIRT"}, ""},
      {"noiba.txt", StyleListStatus::Listed, {"KEEP", "ONLY"}, ""},
      {"nostyles.txt", StyleListStatus::NoStyles, {"KEEP"}, dir / "nostyles.txt" + " has no \"VMDL\" records"},
      {"nosection.txt", StyleListStatus::NoStyles, {"KEEP"}, dir / "nosection.txt" + " has no \"VMDL\" section"},
      {"missing.txt", StyleListStatus::CannotOpen, {"KEEP"}, "cannot open " + (dir / "missing.txt") + ": no such file"},
      {"broken.txt",
       StyleListStatus::Malformed,
       {"KEEP"},
       dir / "broken.txt" +
           ":2: \"VMDL\": header record 2 names section \"VMDL\", but no numbered record carries 2 or a "
           "higher number"},
  };
  for (const auto& c : cases) {
    Names names{"KEEP"};
    const auto result = ReadStyleList(dir / c.file, names);
    EXPECT_EQ(result.status, c.status) << c.file;
    EXPECT_EQ(names, c.names) << c.file;
    EXPECT_EQ(result.message, c.message) << c.file;
  }
}
