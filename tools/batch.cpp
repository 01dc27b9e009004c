// SPDX-License-Identifier: MIT
#include "batch.hpp"

#include <iostream>

#include "system.hpp"

namespace cli {

// The progress line is redrawn in place with an escape sequence that clears the line: only
// a terminal shows it.
Progress::Progress(std::size_t total) : total_(total), enabled_(total > 1 && ErrorIsTerminal()) {}

Progress::~Progress() {
  if (enabled_) std::cerr << "\r\033[K" << std::flush;
}

void Progress::Show(std::size_t index, const std::string& path) {
  if (!enabled_) return;
  std::cerr << "\r\033[K[" << index + 1 << "/" << total_ << "] " << path << std::flush;
}

}  // namespace cli
