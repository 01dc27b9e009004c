// SPDX-License-Identifier: MIT
#include "batch.hpp"

#if defined(_WIN32)
#  ifndef NOMINMAX
#    define NOMINMAX  // std::max below, not the macro
#  endif
#  include <windows.h>
#else
#  include <unistd.h>
#endif

#include <iostream>

namespace cli {
namespace {

// The progress line is redrawn in place with an escape sequence that clears the line: only
// a terminal shows it, and a Windows console only once it is told to read escapes.
bool ProgressShows() {
#if defined(_WIN32)
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  return GetConsoleMode(error, &mode) != 0 && SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

}  // namespace

Progress::Progress(std::size_t total) : total_(total), enabled_(total > 1 && ProgressShows()) {}

Progress::~Progress() {
  if (enabled_) std::cerr << "\r\033[K" << std::flush;
}

void Progress::Show(std::size_t index, const std::string& path) {
  if (!enabled_) return;
  std::cerr << "\r\033[K[" << index + 1 << "/" << total_ << "] " << path << std::flush;
}

}  // namespace cli
