// SPDX-License-Identifier: MIT
#pragma once

#include "marker/marker_document.hpp"
#include "report/diagnostic_list.hpp"

namespace dorvan_marker {

// Records that no lookup can reach: a header record whose tag an earlier header already
// has (its section is never found by tag), and numbered records whose number no header
// record gives a tag.
void CheckStructure(const MarkerDocument& document, DiagnosticList& diagnostics);

}  // namespace dorvan_marker
