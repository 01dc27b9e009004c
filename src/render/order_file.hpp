// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dorvan_marker/error.hpp"

namespace dorvan_marker {

// One row of an order file.
struct OrderRow {
  std::string size;           // bytes as written (quotes taken off)
  std::int64_t quantity = 0;  // garments ordered, 0 to kMostOrdered
  std::size_t line = 0;       // 1-based line in the file
};

// The largest quantity of one size an order may name.
inline constexpr std::int64_t kMostOrdered = 1000000000;

// A line of an order file, for its messages.
inline ErrorLocation OrderLine(const std::string& name, std::size_t line) {
  ErrorLocation where;
  where.file = name;
  where.line = line;
  return where;
}

// Reads the text of an order file: a header row "size,quantity" (either word in any
// letter case), then one row per size. Fields may be quoted as in RFC 4180 and are taken
// without the blanks around them; a UTF-8 byte order mark, blank lines and CR LF line ends
// are taken. Throws InvalidArgumentError naming name, the line and the field for a
// missing header, a row of other than two fields, an empty size, a quantity that is not a
// whole number from 0 to kMostOrdered, or a size named twice.
std::vector<OrderRow> ReadOrder(const std::string& text, const std::string& name);

}  // namespace dorvan_marker
