// SPDX-License-Identifier: MIT
// The dorvan-marker command line, run as a user runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/test_support.hpp"

namespace {

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

CliRun RunCli(const std::string& arguments) {
  test::TempDir dir;
  const std::string command = Quote(DORVAN_CLI) + " " + arguments + " >" + Quote(dir / "out") + " 2>" + Quote(dir / "err");
  const int status = std::system(command.c_str());
  CliRun run;
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = test::ReadFile(dir / "out");
  run.err = test::ReadFile(dir / "err");
  return run;
}

const std::string kExample = std::string(DORVAN_EXAMPLES) + "/jacket/spring jacket.txt";

}  // namespace

TEST(CliStyles, PrintsTheNamesOneALine) {
  test::TempDir dir;
  test::WriteFile(dir / "m.txt", "VMDL:VNUM:VNMD\n1:1:SHIRT\n1:2:SKIRT\n1:3:SHIRT\n1:4\n");
  const CliRun run = RunCli("styles " + Quote(dir / "m.txt"));
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "SHIRT\nSKIRT\n\n");
  EXPECT_EQ(run.err, "");
}

TEST(CliStyles, ExitsWithTheDocumentedCodes) {
  test::TempDir dir;
  test::WriteFile(dir / "none.txt", "PLC:PNAM\n1:x\n");
  test::WriteFile(dir / "broken.txt", "PLC:PNAM\nVMDL:VNMD\n1:x\n");
  const struct {
    std::string arguments;
    int exit_code;
    std::string err;
  } cases[] = {
      {"styles " + Quote(dir / "none.txt"), 1, "dorvan-marker: " + (dir / "none.txt") + " has no \"VMDL\" section\n"},
      {"styles " + Quote(dir / "missing.txt"), 2, "dorvan-marker: cannot open " + (dir / "missing.txt") + "\n"},
      {"styles " + Quote(dir / "broken.txt"), 4,
       "dorvan-marker: " + (dir / "broken.txt") +
           ":2: \"VMDL\": header record 2 names section \"VMDL\", but no numbered record carries 2 or a higher "
           "number\n"},
      {"styles", 64, "dorvan-marker: styles takes one or more marker files\nTry 'dorvan-marker --help'.\n"},
      {"frobnicate x", 64, "dorvan-marker: unknown command frobnicate\nTry 'dorvan-marker --help'.\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.arguments);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.arguments;
    EXPECT_EQ(run.out, "") << c.arguments;
    EXPECT_EQ(run.err, c.err) << c.arguments;
  }
}

TEST(CliHelp, DescribesCommandsAndExitCodes) {
  const CliRun help = RunCli("--help");
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("exit codes:"), std::string::npos);
  EXPECT_NE(help.out.find("import MARKER"), std::string::npos);
  const CliRun version = RunCli("--version");
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out.rfind("dorvan-marker ", 0), 0u);
}

TEST(CliImport, WritesBothHostFilesAndPrintsTheName) {
  test::TempDir dir;
  const CliRun run = RunCli("import " + Quote(kExample) + " --out-dir " + Quote(dir.Path()));
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "SPRING JACKET\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(test::ReadFile(dir / "csvimprt.txt"),
            test::ReadFile(std::string(DORVAN_EXAMPLES) + "/jacket/expected/csvimprt.txt"));
  EXPECT_EQ(test::ReadFile(dir / "posimport.txt"),
            test::ReadFile(std::string(DORVAN_EXAMPLES) + "/jacket/expected/posimport.txt"));
}

TEST(CliImport, FailsWithoutTouchingTheFolder) {
  test::TempDir dir;
  test::WriteFile(dir / "nomodels.txt", "PLC:PNAM\n1:x\n");
  test::WriteFile(dir / "broken.txt", "IGEO:INUM\nIBA:VNUM\nVART:VEXT\nVMDL:VNMD\n1:9\n2:1\n3:MDL\n4:x\n");
  test::TempDir out;
  const struct {
    std::string arguments;
    int exit_code;
    std::string err;
  } cases[] = {
      {"import " + Quote(dir / "missing.txt"), 2, "dorvan-marker: cannot open " + (dir / "missing.txt") + "\n"},
      {"import " + Quote(dir / "nomodels.txt"), 3,
       "dorvan-marker: " + (dir / "nomodels.txt") + " is an invalid Dorvan marker file.  No models were found.\n"},
      {"import " + Quote(dir / "broken.txt"), 4,
       "dorvan-marker: " + (dir / "broken.txt") +
           ":5: \"IGEO\" record 1: \"INUM\" \"9\" points outside the 1 piece records\n"},
      {"import " + Quote(kExample) + " --out-dir " + Quote(out / "missing"), 5, ""},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.arguments + (c.exit_code == 5 ? "" : " --out-dir " + Quote(out.Path())));
    EXPECT_EQ(run.exit_code, c.exit_code) << c.arguments;
    EXPECT_EQ(run.out, "") << c.arguments;
    if (!c.err.empty()) EXPECT_EQ(run.err, c.err) << c.arguments;
    EXPECT_FALSE(test::Exists(out / "csvimprt.txt")) << c.arguments;
    EXPECT_FALSE(test::Exists(out / "posimport.txt")) << c.arguments;
  }
}
