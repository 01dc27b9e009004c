// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace test {

// Builds marker text section by section: each Section call adds a header record and its
// numbered records, numbered by the header's position.
//   MarkerText().Section("VART", {"VEXT", "VGFN"}, {{"VET", "JACKET"}}).Text()
class MarkerText {
 public:
  using Row = std::vector<std::string>;

  MarkerText& Section(const std::string& tag, const Row& columns, const std::vector<Row>& rows) {
    const std::string number = std::to_string(++sections_);
    std::string header = tag;
    for (const std::string& column : columns) header += ":" + column;
    text_ += header + "\n";
    for (const Row& row : rows) {
      std::string line = number;
      for (const std::string& value : row) line += ":" + value;
      text_ += line + "\n";
    }
    return *this;
  }
  const std::string& Text() const { return text_; }

 private:
  int sections_ = 0;
  std::string text_;
};

}  // namespace test
