// SPDX-License-Identifier: MIT
#pragma once

#include "dorvan_marker/report.hpp"
#include "hostfiles/host_placements.hpp"
#include "marker/marker_document.hpp"
#include "report/diagnostic_list.hpp"

namespace dorvan_marker {

// Whether the report lists every placement, or only measures and checks them: a caller
// that wants what is said of a marker is spared tens of thousands of entries.
enum class PlacementList { kKept, kLeftOut };

// Fills the report's sizes and measures, and with kKept its placements, as the two
// host-file writers see them. Placements whose size is not among the marker's sizes are
// lost; lost placements, pieces off the fabric, a fabric width the marker does not name
// and overlapping boxes are reported, the same either way. Raises InvalidArgumentError
// where the writers would.
void ReportPlacements(const MarkerDocument& document, HostPlacements& placements, MarkerReport& report,
                      DiagnosticList& diagnostics, PlacementList list);

}  // namespace dorvan_marker
