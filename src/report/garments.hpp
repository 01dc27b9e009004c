// SPDX-License-Identifier: MIT
#pragma once

#include "dorvan_marker/report.hpp"
#include "hostfiles/host_placements.hpp"

namespace dorvan_marker {

// Counts the sheet's garments, in all and by size: an article ("VART" record) is one
// garment of its size when at least one of its placements reaches a host file, that is
// when it lies in one of the size groups the writers walk.
void CountGarments(const HostPlacements& placements, MarkerSheet& sheet);

}  // namespace dorvan_marker
