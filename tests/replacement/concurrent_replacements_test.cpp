// SPDX-License-Identifier: MIT
// Processes replacing one pair in one folder at once: every replacement succeeds, and the
// folder ends with the two files of one and the same process.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "replacement/replacement_transaction.hpp"
#include "support/test_support.hpp"

namespace {

constexpr int kProcesses = 6;

// The pair of process k: a command and a placement file that differ from every other's
// and are large enough that replacements overlap.
std::string Content(int k, int file) { return std::string(200000, static_cast<char>('a' + k)) + std::to_string(file); }

// Replaces the pair with process k's, as an import does; whether it succeeded.
bool ReplaceAsProcess(const std::vector<std::string>& targets, int k) {
  try {
    dorvan_marker::ReplacementTransaction transaction(targets);
    for (int file = 0; file < 2; ++file) {
      const dorvan_marker::WritableFile staged = transaction.Staged(static_cast<std::size_t>(file));
      const std::string bytes = Content(k, file);
      if (!staged.file_system->Write(staged.handle, bytes.data(), bytes.size()).Ok()) return false;
    }
    transaction.Commit();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

TEST(ConcurrentReplacements, ProcessesIntoOneFolderLeaveOnePair) {
  constexpr int kRounds = 25;
  test::TempDir out;
  const std::vector<std::string> targets{out / "csvimprt.txt", out / "posimport.txt"};
  int failed = 0;
  int mixed_rounds = 0;
  for (int round = 0; round < kRounds; ++round) {
    std::vector<pid_t> children;
    for (int k = 0; k < kProcesses; ++k) {
      const pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) _exit(ReplaceAsProcess(targets, k) ? 0 : 1);
      children.push_back(child);
    }
    for (const pid_t child : children) {
      int status = 0;
      waitpid(child, &status, 0);
      failed += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
    }
    const std::string command = test::ReadFile(targets[0]);
    bool one_pair = test::ListFolder(out.Path()) == std::vector<std::string>{"csvimprt.txt", "posimport.txt"};
    one_pair = one_pair && !command.empty() && test::ReadFile(targets[1]) == Content(command[0] - 'a', 1);
    mixed_rounds += one_pair ? 0 : 1;
  }
  EXPECT_EQ(failed, 0) << "of " << kRounds * kProcesses;
  EXPECT_EQ(mixed_rounds, 0) << "of " << kRounds;
  std::printf("[ %d processes x %d rounds: %d replacements failed, %d rounds left another pair ]\n", kProcesses,
              kRounds, failed, mixed_rounds);
}
