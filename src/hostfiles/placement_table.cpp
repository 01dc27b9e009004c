// SPDX-License-Identifier: MIT
#include "hostfiles/placement_table.hpp"

namespace dorvan_marker {

std::uint32_t TextTable::Add(std::string_view text) {
  const auto found = numbers_.find(text);
  if (found != numbers_.end()) return found->second;
  const auto number = static_cast<std::uint32_t>(texts_.size());
  texts_.emplace_back(text);
  views_.push_back(texts_.back());
  numbers_.emplace(views_.back(), number);
  return number;
}

}  // namespace dorvan_marker
