// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "hostfiles/placement_table.hpp"
#include "marker/marker_document.hpp"

namespace dorvan_marker {

// The size and the piece name of placement record `index` of placements (the "IGEO"
// section), followed through its piece record ("IBA") and its article ("VART") to the
// "VMDL" or "VVET" record that holds its size, and through PieceNames. size receives the
// size name or "-1", or is left as passed for an article of a kind that gets no size.
// Raises InvalidArgumentError when a reference points outside its section.
void GetPlacementSizeAndPiece(const MarkerDocument& document, const CSection* placements, long index, std::string& size,
                              std::string& piece);

// Every placement resolved as GetPlacementSizeAndPiece resolves it, in record order, with
// the piece names after NormalizeName. Raises what GetPlacementSizeAndPiece raises for the
// first placement that fails, and InvalidArgumentError when the names and sizes the host
// files would repeat come to more than 16 times the marker's size plus 16 MiB.
PlacementTable ResolvePlacements(const MarkerDocument& document);

}  // namespace dorvan_marker
