// SPDX-License-Identifier: MIT
// The one table from the library's outcomes to the command line's exit codes.
#include "exit_codes.hpp"

#include <optional>

namespace cli {
namespace {

using dorvan_marker::Outcome;
using dorvan_marker::Task;

struct ExitRow {
  Outcome outcome;
  std::optional<Task> task;  // the row is this task's alone; none: every task's
  int exit_code;
};

// Read from the top; the first row that fits decides.
constexpr ExitRow kExits[] = {
    {Outcome::Done, std::nullopt, kOk},
    {Outcome::NoModels, Task::ListStyles, kNoStyles},  // styles: a marker without model names
    {Outcome::NoModels, std::nullopt, kNoModels},
    {Outcome::CannotOpen, std::nullopt, kCannotOpen},
    {Outcome::Malformed, std::nullopt, kMalformed},
    {Outcome::CannotWrite, std::nullopt, kCannotWrite},
    {Outcome::LoaderUnusable, std::nullopt, kLoaderUnusable},
    {Outcome::OutOfMemory, std::nullopt, kOutOfMemory},
    {Outcome::BadCall, std::nullopt, kUsage},
    {Outcome::BufferTooSmall, std::nullopt, kInternal},  // the command line hands out no buffer
};

}  // namespace

int ExitOf(Outcome outcome, Task task) {
  for (const ExitRow& row : kExits) {
    if (row.outcome == outcome && (!row.task || *row.task == task)) return row.exit_code;
  }
  return kInternal;
}

}  // namespace cli
