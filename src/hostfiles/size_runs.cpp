// SPDX-License-Identifier: MIT
#include "hostfiles/size_runs.hpp"

namespace dorvan_marker {

std::vector<SizeKind> ClassifySizes(const std::vector<std::vector<std::size_t>>& groups,
                                    const std::vector<ResolvedPlacement>& placements) {
  std::vector<SizeKind> kinds;
  const std::vector<std::size_t>* previous = nullptr;
  for (const std::vector<std::size_t>& group : groups) {
    auto same_pieces = [&] {
      if (previous == nullptr || previous->size() != group.size()) return false;
      for (std::size_t k = 0; k < group.size(); ++k) {
        if (placements[group[k]].name != placements[(*previous)[k]].name) return false;
      }
      return true;
    };
    if (group.empty()) {
      kinds.push_back(kNoPieces);
      previous = nullptr;
    } else {
      kinds.push_back(same_pieces() ? kContinuesRun : kBeginsRun);
      previous = &group;
    }
  }
  return kinds;
}

}  // namespace dorvan_marker
