// SPDX-License-Identifier: MIT
// Text in aligned columns, as the command line's tables show it.
#include <algorithm>

#include "dorvan_marker/render.hpp"

namespace dorvan_marker {
namespace {

// Digits, with at most one decimal point between them: right-aligned.
bool IsNumber(const std::string& text) {
  const std::size_t point = text.find('.');
  const auto digits = [](const std::string& part) {
    return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  return point == std::string::npos ? digits(text) : digits(text.substr(0, point)) && digits(text.substr(point + 1));
}

}  // namespace

std::string AlignedTable(const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths(rows.empty() ? 0 : rows.front().size());
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
  }
  std::string out;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::vector<std::string>& cells = rows[r];
    std::string text;
    for (std::size_t c = 0; c < widths.size(); ++c) {
      const std::string cell = c < cells.size() ? cells[c] : "";
      const std::string fill(widths[c] - cell.size(), ' ');
      if (c != 0) text += "  ";
      text += (r != 0 && c != 0 && IsNumber(cell)) ? fill + cell : cell + fill;
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out += text + "\n";
  }
  return out;
}

}  // namespace dorvan_marker
