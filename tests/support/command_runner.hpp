// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace test {

// What a program run through the shell left: its exit code and everything it printed.
struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// word quoted for the shell.
std::string Quote(const std::string& word);

// Runs `prefix program arguments` through the shell (arguments are shell words, quoted by
// the caller) and collects stdout and stderr.
CliRun RunProgram(const std::string& program, const std::string& arguments, const std::string& prefix = {});

}  // namespace test
