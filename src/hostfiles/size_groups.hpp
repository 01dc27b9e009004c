// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "hostfiles/placement_table.hpp"
#include "platform/checked_array.hpp"

namespace dorvan_marker {

// The placements of each entry of Sizes, in record order: group i holds the positions in
// "IGEO" of those whose size equals Sizes[i] exactly. A placement whose size is not among
// Sizes belongs to no group and reaches neither host file.
class SizeGroups {
 public:
  SizeGroups(const CStringArray& sizes, const PlacementTable& table);

  std::size_t size() const noexcept { return starts_.size() - 1; }
  std::span<const std::uint32_t> operator[](std::size_t i) const {
    return std::span<const std::uint32_t>(placements_).subspan(starts_[i], starts_[i + 1] - starts_[i]);
  }
  // The group of the placements that lay piece record p, or kNone.
  std::size_t GroupOfPiece(std::size_t p) const { return group_of_[p]; }
  // Whether the placements that lay piece record p reach the host files: whether its size
  // is among the marker's sizes. The one rule that both writers and the report follow.
  bool ReachesHostFiles(std::size_t p) const { return group_of_[p] != kNone; }
  // The place of group i's first placement when the groups are read one after another.
  std::size_t Start(std::size_t i) const { return starts_[i]; }
  // The placements in all groups.
  std::size_t Count() const noexcept { return placements_.size(); }

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

 private:
  std::vector<std::uint32_t> placements_;  // group 0, then group 1, ...
  std::vector<std::size_t> starts_;        // group i is [starts_[i], starts_[i + 1])
  std::vector<std::size_t> group_of_;      // by piece record
};

// The place of each grouped placement when the groups are read one after another (its
// line of the placement file), for the placements taken in record order.
class GroupPlaces {
 public:
  explicit GroupPlaces(const SizeGroups& groups) : groups_(groups), next_(groups.size()) {
    for (std::size_t i = 0; i < next_.size(); ++i) next_[i] = groups.Start(i);
  }
  // The place of the next placement, in record order, of those that lay piece record p,
  // which reaches the host files.
  std::size_t Next(std::size_t p) { return next_[groups_.GroupOfPiece(p)]++; }

 private:
  const SizeGroups& groups_;
  std::vector<std::size_t> next_;  // by group
};

}  // namespace dorvan_marker
