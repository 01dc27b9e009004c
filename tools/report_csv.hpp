// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "dorvan_marker/report.hpp"

namespace cli {

// The reports of `inspect --csv`: a header row, then one row per marker with the figures
// of `inspect --json`, quoted as RFC 4180 says and ended by CR LF. Names are the marker's
// bytes, in its code page.
std::string InspectCsv(const std::vector<dorvan_marker::MarkerSheet>& reports);

}  // namespace cli
