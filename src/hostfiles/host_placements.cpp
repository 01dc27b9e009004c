// SPDX-License-Identifier: MIT
#include "hostfiles/host_placements.hpp"

#include <utility>
#include <vector>

#include "hostfiles/placement_attributes.hpp"

namespace dorvan_marker {

HostPlacements ResolveHostPlacements(const MarkerDocument& document) {
  PlacementTable table = ResolvePlacements(document);
  SizeGroups groups(document.Sizes, table);
  PieceScales scales(document);
  std::vector<bool> written(table.pieces.size(), false);
  for (std::size_t piece = 0; piece < written.size(); ++piece) written[piece] = groups.ReachesHostFiles(piece);
  scales.AskAhead(written);
  return {std::move(table), std::move(groups), std::move(scales), {}};
}

}  // namespace dorvan_marker
