// SPDX-License-Identifier: MIT
#pragma once

#include "dorvan_marker/report.hpp"
#include "hostfiles/host_placements.hpp"
#include "marker/marker_document.hpp"
#include "report/diagnostic_list.hpp"

namespace dorvan_marker {

// Fills the report's placements, sizes and measures as the two host-file writers see
// them. Placements whose size is not among the marker's sizes are marked lost; pieces off
// the fabric, a fabric width the marker does not name and
// overlapping boxes are reported. Raises InvalidArgumentError where the writers would.
void ReportPlacements(const MarkerDocument& document, HostPlacements& placements, MarkerReport& report,
                      DiagnosticList& diagnostics);

}  // namespace dorvan_marker
