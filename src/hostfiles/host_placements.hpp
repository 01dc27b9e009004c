// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "hostfiles/placement_geometry.hpp"
#include "hostfiles/placement_table.hpp"
#include "hostfiles/size_groups.hpp"
#include "marker/marker_document.hpp"
#include "models/piece_scales.hpp"

namespace dorvan_marker {

// A marker's placements resolved for the host files, once its size lists and piece names
// are built: what both writers, and the report, read.
struct HostPlacements {
  PlacementTable table;  // each placement's piece record, and each piece's size and name
  SizeGroups groups;     // the placements of each entry of Sizes, in record order
  PieceScales scales;    // each piece's rotation and scale, from its model file
  // The geometry of each placement that reaches the host files, by its line of the
  // placement file, as the file was written: kept when it was written in one pass, so that
  // a report of the same import does not read every placement again. Empty otherwise.
  std::vector<PlacementGeometry> written_geometry;
};

// Resolves every placement of document (raising what ResolvePlacements raises), groups
// them by document.Sizes, and asks ahead for the scales of the pieces that reach the host
// files.
HostPlacements ResolveHostPlacements(const MarkerDocument& document);

}  // namespace dorvan_marker
