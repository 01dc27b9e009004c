// SPDX-License-Identifier: MIT
#include "hostfiles/host_placements.hpp"

#include "hostfiles/placement_attributes.hpp"

namespace dorvan_marker {

HostPlacements::HostPlacements(const MarkerDocument& document, const char* marker_path)
    : table(ResolvePlacements(document)), groups(document.Sizes, table), scales(document, marker_path) {
  std::vector<bool> written(table.pieces.size(), false);
  for (std::size_t piece = 0; piece < written.size(); ++piece) {
    written[piece] = groups.GroupOfPiece(piece) != SizeGroups::kNone;
  }
  scales.AskAhead(written);
}

}  // namespace dorvan_marker
