// SPDX-License-Identifier: MIT
#pragma once

#include "dorvan_marker/report.hpp"
#include "hostfiles/host_placements.hpp"
#include "marker/marker_document.hpp"

namespace dorvan_marker {

// Counts the report's garments, in all and by size: an article ("VART" record) is one
// garment of its size when at least one of its placements reaches a host file, that is
// when it belongs to one of the size groups the writers walk. The report's sizes must be
// filled already, in the order of those groups.
void CountGarments(const MarkerDocument& document, const HostPlacements& placements, MarkerReport& report);

}  // namespace dorvan_marker
