// SPDX-License-Identifier: MIT
#include "hostfiles/size_groups.hpp"

#include <string_view>
#include <unordered_map>

namespace dorvan_marker {

std::vector<std::vector<std::size_t>> GroupBySize(const CStringArray& sizes,
                                                  const std::vector<ResolvedPlacement>& placements) {
  std::unordered_map<std::string_view, std::size_t> index_of;
  for (std::size_t i = 0; i < sizes.size(); ++i) index_of.try_emplace(sizes[i], i);
  std::vector<std::vector<std::size_t>> groups(sizes.size());
  for (std::size_t j = 0; j < placements.size(); ++j) {
    const auto found = index_of.find(placements[j].size);
    if (found != index_of.end()) groups[found->second].push_back(j);
  }
  return groups;
}

}  // namespace dorvan_marker
