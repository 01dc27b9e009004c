// SPDX-License-Identifier: MIT
// The bad-input table at the command line: the exit code, the one message on stderr (which
// names the file, line, section and field where they apply) or, once imported, the
// diagnostics of inspect, nothing on stdout but the marker's name, and the host folder's
// earlier files untouched unless the import succeeded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "hardening/bad_inputs.hpp"
#include "support/command_runner.hpp"

namespace {

using test::CliRun;
using test::Quote;

// Runs the command line; as "nobody" when asked and this process is root.
CliRun RunCli(const std::string& arguments, bool unprivileged) {
  return test::RunProgram(DORVAN_CLI, arguments,
                          unprivileged ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "");
}

int ImportExit(test::Outcome outcome) {
  switch (outcome) {
    case test::Outcome::Imported: return 0;
    case test::Outcome::CannotOpen: return 2;
    case test::Outcome::NoModels: return 3;
    case test::Outcome::Malformed: return 4;
    case test::Outcome::CannotWrite: return 5;
    case test::Outcome::OutOfMemory: return 8;
    case test::Outcome::BadCall: break;  // the C face's alone
  }
  return -1;
}

class BadInputCli : public ::testing::TestWithParam<std::size_t> {};

}  // namespace

TEST_P(BadInputCli, EndsAsTabled) {
  const test::BadInput& row = test::BadInputs()[GetParam()];
  if (test::SkippedHere(row)) GTEST_SKIP() << "a huge row: run in the build without sanitizers";
  test::TempDir dir;
  const std::string marker = row.make(dir);
  const std::string out = test::PrepareOutFolder(dir, row);
  const bool unprivileged = (row.needs & test::kUnprivileged) != 0 && test::IsPrivileged();
  if (unprivileged) test::GiveToNobody(dir);

  const CliRun run = RunCli("import " + Quote(marker) + " --out-dir " + Quote(out), unprivileged);
  // Unlike the library and the C face, the command line makes a missing host folder.
  const bool made = (row.needs & test::kOutFolderMissing) != 0;
  const test::Outcome outcome = made ? test::Outcome::Imported : row.import;
  EXPECT_EQ(run.exit_code, ImportExit(outcome)) << run.err;
  if (outcome == test::Outcome::Imported) {
    EXPECT_EQ(run.out, "MARKER\n");
    const std::string inspected = RunCli("inspect " + Quote(marker), unprivileged).out;
    const std::size_t count = inspected.find(" warnings\n");
    ASSERT_NE(count, std::string::npos) << inspected;
    EXPECT_EQ(run.err, inspected.substr(count + 10));
    if (!row.placement.empty()) EXPECT_EQ(test::ReadFile(out + "/posimport.txt"), row.placement);
  } else {
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "dorvan-marker: " + test::Expand(row.message, marker, out) + "\n");
    if ((row.needs & test::kOutFolderMissing) == 0) {
      EXPECT_EQ(test::ReadFile(out + "/csvimprt.txt"), test::kOldCommandFile);
      EXPECT_EQ(test::ReadFile(out + "/posimport.txt"), test::kOldPlacementFile);
    }
  }

  const CliRun styles = RunCli("styles " + Quote(marker), unprivileged);
  EXPECT_EQ(styles.exit_code, static_cast<int>(row.styles)) << styles.err;
}

INSTANTIATE_TEST_SUITE_P(Rows, BadInputCli, ::testing::ValuesIn(test::RowsWithFault(false)), test::RowName);
