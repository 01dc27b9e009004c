// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cli {

// "[3/40] path" on stderr while several markers are read, overwritten in place, and only
// when stderr is a terminal: a log or a pipe gets no progress noise.
class Progress {
 public:
  explicit Progress(std::size_t total);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void Show(std::size_t index, const std::string& path);

 private:
  std::size_t total_;
  bool enabled_;
};

// A table of text in aligned columns; numbers are right-aligned, except in the first
// column, which names the row.
class Table {
 public:
  explicit Table(std::vector<std::string> headings) : headings_(std::move(headings)) {}
  void AddRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
  std::string Render() const;

 private:
  std::vector<std::string> headings_;
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace cli
