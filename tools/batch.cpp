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

#include <algorithm>
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

// Digits, with at most one decimal point between them.
bool IsNumber(const std::string& text) {
  const std::size_t point = text.find('.');
  const auto digits = [](const std::string& part) {
    return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  return point == std::string::npos ? digits(text) : digits(text.substr(0, point)) && digits(text.substr(point + 1));
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

std::string Table::Render() const {
  std::vector<std::size_t> widths(headings_.size());
  for (std::size_t c = 0; c < headings_.size(); ++c) widths[c] = headings_[c].size();
  for (const auto& row : rows_) {
    for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
  }
  std::string out;
  auto line = [&](const std::vector<std::string>& cells, bool heading) {
    std::string text;
    for (std::size_t c = 0; c < widths.size(); ++c) {
      const std::string cell = c < cells.size() ? cells[c] : "";
      const std::string fill(widths[c] - cell.size(), ' ');
      if (c != 0) text += "  ";
      text += (!heading && c != 0 && IsNumber(cell)) ? fill + cell : cell + fill;
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out += text + "\n";
  };
  line(headings_, true);
  for (const auto& row : rows_) line(row, false);
  return out;
}

}  // namespace cli
