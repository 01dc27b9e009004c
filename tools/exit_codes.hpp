// SPDX-License-Identifier: MIT
#pragma once

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
  kNoPlan = 8,          // plan: no plan meets the order within the limits
  kUsage = 64,
};

}  // namespace cli
