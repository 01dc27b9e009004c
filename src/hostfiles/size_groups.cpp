// SPDX-License-Identifier: MIT
#include "hostfiles/size_groups.hpp"

#include <string_view>
#include <unordered_map>

namespace dorvan_marker {

SizeGroups::SizeGroups(const CStringArray& sizes, const PlacementTable& table) : starts_(sizes.size() + 1, 0) {
  std::unordered_map<std::string_view, std::size_t> index_of;
  for (std::size_t i = 0; i < sizes.size(); ++i) index_of.try_emplace(sizes[i], i);
  // Pieces share a few sizes: each size text is looked up once.
  std::vector<std::size_t> group_of_size(table.sizes.size(), kNone);
  for (std::uint32_t s = 0; s < table.sizes.size(); ++s) {
    const auto found = index_of.find(table.sizes[s]);
    if (found != index_of.end()) group_of_size[s] = found->second;
  }

  // The group of every piece record once, then a counting sort of the placements, which
  // keeps their record order inside each group.
  std::vector<std::size_t>& group_of = group_of_;
  group_of.assign(table.pieces.size(), kNone);
  for (std::size_t p = 0; p < table.pieces.size(); ++p) {
    if (table.pieces[p].Resolved()) group_of[p] = group_of_size[table.pieces[p].size];
  }
  for (std::uint32_t p : table.piece_of) {
    if (group_of[p] != kNone) ++starts_[group_of[p] + 1];
  }
  for (std::size_t i = 1; i < starts_.size(); ++i) starts_[i] += starts_[i - 1];
  placements_.resize(starts_.back());
  std::vector<std::size_t> next(starts_.begin(), starts_.end() - 1);
  for (std::size_t j = 0; j < table.piece_of.size(); ++j) {
    const std::size_t group = group_of[table.piece_of[j]];
    if (group == kNone) continue;
    placements_[next[group]++] = static_cast<std::uint32_t>(j);
  }
}

}  // namespace dorvan_marker
