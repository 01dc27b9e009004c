// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>

#include "platform/file_system.hpp"

namespace dorvan_marker {

// On Windows a virus scanner, an indexer, a backup or the host itself may hold a host file
// open for a moment, and the system refuses to rename it meanwhile. Such a refusal is
// tried again, after 10 ms and then twice as long each time, until 2 s have been waited;
// any other outcome is final at once.
inline constexpr int kFirstBusyPauseMs = 10;
inline constexpr int kBusyPatienceMs = 2000;

template <typename Operation>
FileOutcome RetryWhileBusy(FileSystem& file_system, Operation&& operation) {
  FileOutcome outcome = operation();
  int pause = kFirstBusyPauseMs;
  for (int waited = 0; outcome.kind == FileOutcome::Kind::Busy && waited < kBusyPatienceMs; pause *= 2) {
    const int now = std::min(pause, kBusyPatienceMs - waited);
    file_system.Pause(now);
    waited += now;
    outcome = operation();
  }
  return outcome;
}

}  // namespace dorvan_marker
