// SPDX-License-Identifier: MIT
#pragma once

#include "hostfiles/host_placements.hpp"
#include "marker/marker_document.hpp"
#include "platform/file_system.hpp"

namespace dorvan_marker {

// The piece placement file, written to file (which the caller opened and closes): one line
// per placed piece, grouped by size in the order of Sizes. Raises HostFileError when the
// file cannot be written, and InvalidArgumentError for a placement whose angle cannot be
// rounded.
void WritePlacementFile(const MarkerDocument& document, HostPlacements& placements, const WritableFile& file);

}  // namespace dorvan_marker
