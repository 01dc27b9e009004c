// SPDX-License-Identifier: MIT
#pragma once

#include "dorvan_marker/report.hpp"

namespace cli {

// The exit code of a marker that could not be read to the end; kOk for one that was.
int StatusExit(dorvan_marker::ReportStatus status);

// The exit code of a marker's report, as inspect gives it: how far reading got, then lost
// placements, then (when strict) warnings.
int ReportExit(const dorvan_marker::MarkerReport& report, bool strict);

}  // namespace cli
