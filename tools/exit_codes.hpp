// SPDX-License-Identifier: MIT
#pragma once

#include "dorvan_marker/outcome.hpp"

namespace cli {

// Exit codes of dorvan-marker; stable, documented in --help and the README. Where a
// command reads several markers it exits with the largest code among them.
enum Exit : int {
  kOk = 0,
  kNoStyles = 1,  // styles: the marker has no model names
  kWarnings = 1,  // inspect --strict: warnings were found
  kCannotOpen = 2,
  kNoModels = 3,
  kMalformed = 4,
  kCannotWrite = 5,     // import: host files; render: the picture
  kLostPlacements = 6,  // inspect: placements reach neither host file
  kLoaderUnusable = 7,  // import, inspect, render: the loader plug-in cannot serve
  kOutOfMemory = 8,     // the memory ran out: no fault of the marker
  kNoPlan = 9,          // plan: no plan meets the order within the limits
  kUsage = 64,
  kInternal = 70,  // a fault of the program itself, never of the marker
};

// The exit code of a marker whose call ended with outcome, in a command that does task.
int ExitOf(dorvan_marker::Outcome outcome, dorvan_marker::Task task);

}  // namespace cli
