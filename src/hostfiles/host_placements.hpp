// SPDX-License-Identifier: MIT
#pragma once

#include "hostfiles/placement_table.hpp"
#include "hostfiles/size_groups.hpp"
#include "marker/marker_document.hpp"
#include "models/piece_scales.hpp"

namespace dorvan_marker {

// A marker's placements resolved for the host files, once its size lists and piece names
// are built: what both writers, and the report, read.
struct HostPlacements {
  // Resolves every placement of document (raising what ResolvePlacements raises) and
  // groups them by document.Sizes. marker_path: the path the import was given, beside
  // which the model files lie.
  HostPlacements(const MarkerDocument& document, const char* marker_path);

  PlacementTable table;  // each placement's piece record, and each piece's size and name
  SizeGroups groups;     // the placements of each entry of Sizes, in record order
  PieceScales scales;    // each piece's rotation and scale, from its model file
};

// The model and order command file: one model block per run of sizes that lay the same
// pieces, then the order block. Raises HostFileError when output_path cannot be written,
// and what the scales raise.
void WriteCommandFile(const MarkerDocument& document, HostPlacements& placements, const std::string& output_path);

// The piece placement file: one line per placed piece, grouped by size in the order of
// Sizes. Raises HostFileError when output_path cannot be written, and
// InvalidArgumentError for a placement whose angle cannot be rounded.
void WritePlacementFile(const MarkerDocument& document, HostPlacements& placements, const std::string& output_path);

}  // namespace dorvan_marker
