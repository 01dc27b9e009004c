// SPDX-License-Identifier: MIT
// The bad-input table at the C++ entry points: ImportMarker and ReadStyleList end with the
// row's status and message, and the host folder keeps its earlier files unless the import
// succeeded.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "dorvan_marker/import.hpp"
#include "hardening/bad_inputs.hpp"

namespace {

using dorvan_marker::ImportResult;
using dorvan_marker::ImportStatus;

// Runs the import as "nobody" in a child process when this process is root, so that
// permissions bite; the result comes back through a pipe.
ImportResult ImportAsNobody(const std::string& marker, const dorvan_marker::HostFilePaths& out) {
  int channel[2];
  if (pipe(channel) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    if (setgroups(0, nullptr) != 0 || setgid(test::kNobody) != 0 || setuid(test::kNobody) != 0) _exit(2);
    const ImportResult result = dorvan_marker::ImportMarker(marker, out, {});
    const std::string reply = std::to_string(static_cast<int>(result.status)) + "\n" + result.message;
    if (write(channel[1], reply.data(), reply.size()) != static_cast<ssize_t>(reply.size())) _exit(3);
    _exit(0);
  }
  close(channel[1]);
  std::string reply;
  char buffer[4096];
  for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
    reply.append(buffer, static_cast<std::size_t>(got));
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ImportResult result;
  const std::size_t newline = reply.find('\n');
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || newline == std::string::npos) {
    result.message = "the unprivileged import did not finish";
    return result;
  }
  result.status = static_cast<ImportStatus>(std::stoi(reply.substr(0, newline)));
  result.message = reply.substr(newline + 1);
  return result;
}

void CheckRow(const test::BadInput& row) {
  SCOPED_TRACE(row.name);
  test::TempDir dir;
  const std::string marker = row.make(dir);
  const std::string out = test::PrepareOutFolder(dir, row);
  const dorvan_marker::HostFilePaths paths{out + "/csvimprt.txt", out + "/posimport.txt"};

  const bool unprivileged = (row.needs & test::kUnprivileged) != 0 && test::IsPrivileged();
  if (unprivileged) test::GiveToNobody(dir);
  const ImportResult result = unprivileged ? ImportAsNobody(marker, paths) : dorvan_marker::ImportMarker(marker, paths);
  EXPECT_EQ(static_cast<int>(result.status), static_cast<int>(row.import)) << result.message;
  EXPECT_EQ(result.message, test::Expand(row.message, marker, out));

  const bool folder_missing = (row.needs & test::kOutFolderMissing) != 0;
  if (!folder_missing) {  // nothing but the host files, old or new
    EXPECT_EQ(test::ListFolder(out), (std::vector<std::string>{"csvimprt.txt", "posimport.txt"}));
  }
  if (row.import == test::Outcome::Imported) {
    if (!row.placement.empty()) EXPECT_EQ(test::ReadFile(paths.placement_file), row.placement);
  } else if (folder_missing) {
    EXPECT_FALSE(test::Exists(out));
  } else {
    EXPECT_EQ(test::ReadFile(paths.command_file), test::kOldCommandFile);
    EXPECT_EQ(test::ReadFile(paths.placement_file), test::kOldPlacementFile);
  }

  std::vector<std::string> styles{"KEEP"};
  const auto listed = dorvan_marker::ReadStyleList(marker, styles);
  EXPECT_EQ(static_cast<int>(listed.status), static_cast<int>(row.styles)) << listed.message;
  if (listed.status != dorvan_marker::StyleListStatus::Listed) EXPECT_EQ(styles, std::vector<std::string>{"KEEP"});
}

}  // namespace

class BadInputImport : public ::testing::TestWithParam<std::size_t> {};

TEST_P(BadInputImport, EndsAsTabled) {
  const test::BadInput& row = test::BadInputs()[GetParam()];
  if (test::SkippedHere(row)) GTEST_SKIP() << "a huge row: run in the build without sanitizers";
  CheckRow(row);
}

INSTANTIATE_TEST_SUITE_P(Rows, BadInputImport, ::testing::ValuesIn(test::RowsWithFault(false)), test::RowName);
