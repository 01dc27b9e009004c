// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

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

}  // namespace cli
