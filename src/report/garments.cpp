// SPDX-License-Identifier: MIT
#include "report/garments.hpp"

#include <cstdint>
#include <vector>

namespace dorvan_marker {

void CountGarments(const HostPlacements& placements, MarkerSheet& sheet) {
  const PlacementTable& table = placements.table;
  // An article's pieces all take its size, so it lies in one group; the mark only keeps a
  // second placement of the same article from counting twice.
  std::vector<bool> counted;
  sheet.garments = 0;
  sheet.garments_by_size.assign(placements.groups.size(), 0);
  for (std::size_t i = 0; i < placements.groups.size(); ++i) {
    for (const std::uint32_t placement : placements.groups[i]) {
      const std::uint32_t article = table.pieces[table.piece_of[placement]].article;
      if (article >= counted.size()) counted.resize(article + 1, false);
      if (counted[article]) continue;
      counted[article] = true;
      ++sheet.garments_by_size[i];
      ++sheet.garments;
    }
  }
}

}  // namespace dorvan_marker
