// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "hostfiles/placement_table.hpp"
#include "hostfiles/size_groups.hpp"
#include "marker/marker_document.hpp"

namespace dorvan_marker {

// How a size stands in the command file: host models are made per run of sizes that place
// the same pieces in the same order.
enum SizeKind : unsigned short {
  kBeginsRun = 0,     // a size whose pieces differ from the size before: a model block of its own
  kContinuesRun = 1,  // the same pieces, in the same order, as the size before
  kNoPieces = 2,      // nothing placed: no block, no order lines, and the next size begins a run
};

// The kind of each size, from its group of placements.
std::vector<SizeKind> ClassifySizes(const SizeGroups& groups, const PlacementTable& table);

// The host model of each entry of document.Sizes, whose kinds are given: the marker's title
// (normalised once more), a minus and the first size of the size's run; empty for a size
// that places nothing.
std::vector<std::string> HostModelNames(const MarkerDocument& document, const std::vector<SizeKind>& kinds);

}  // namespace dorvan_marker
