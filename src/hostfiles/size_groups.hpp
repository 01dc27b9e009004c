// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <vector>

#include "marker/marker_document.hpp"

namespace dorvan_marker {

// The placements of each entry of Sizes, in record order: group i holds the positions (in
// `placements`) of those whose size equals Sizes[i] exactly. A placement whose size is not
// among Sizes belongs to no group and reaches neither host file.
std::vector<std::vector<std::size_t>> GroupBySize(const CStringArray& sizes,
                                                  const std::vector<ResolvedPlacement>& placements);

}  // namespace dorvan_marker
