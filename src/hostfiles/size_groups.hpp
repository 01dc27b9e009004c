// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "marker/marker_document.hpp"

namespace dorvan_marker {

// The placements of each entry of Sizes, in record order: group i holds the positions in
// "IGEO" of those whose size equals Sizes[i] exactly. A placement whose size is not among
// Sizes belongs to no group and reaches neither host file.
class SizeGroups {
 public:
  SizeGroups(const CStringArray& sizes, const PlacementTable& table);

  std::size_t size() const noexcept { return starts_.size() - 1; }
  // Whether placement record j belongs to a group.
  bool Contains(std::size_t j) const { return in_group_[j]; }
  std::span<const std::uint32_t> operator[](std::size_t i) const {
    return std::span<const std::uint32_t>(placements_).subspan(starts_[i], starts_[i + 1] - starts_[i]);
  }

 private:
  std::vector<std::uint32_t> placements_;  // group 0, then group 1, ...
  std::vector<std::size_t> starts_;        // group i is [starts_[i], starts_[i + 1])
  std::vector<bool> in_group_;             // by placement record
};

}  // namespace dorvan_marker
