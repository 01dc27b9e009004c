// SPDX-License-Identifier: MIT
#pragma once

#include "hostfiles/host_placements.hpp"
#include "marker/marker_document.hpp"
#include "platform/file_system.hpp"

namespace dorvan_marker {

// The model and order command file, written to file (which the caller opened and closes):
// one model block per run of sizes that lay the same pieces, then the order block. Raises
// HostFileError when the file cannot be written, and what the scales raise.
void WriteCommandFile(const MarkerDocument& document, HostPlacements& placements, const WritableFile& file);

}  // namespace dorvan_marker
