// SPDX-License-Identifier: MIT
#include "support/command_runner.hpp"

#include <sys/wait.h>

#include <cstdlib>

#include "support/test_support.hpp"

namespace test {

std::string Quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

CliRun RunProgram(const std::string& program, const std::string& arguments, const std::string& prefix) {
  TempDir dir;
  const std::string command =
      prefix + Quote(program) + " " + arguments + " >" + Quote(dir / "out") + " 2>" + Quote(dir / "err");
  const int status = std::system(command.c_str());
  CliRun run;
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadFile(dir / "out");
  run.err = ReadFile(dir / "err");
  return run;
}

}  // namespace test
