// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "dorvan_marker/report.hpp"

namespace cli {

// The reports of `inspect --json`, in the shape of docs/schema/inspect-v1.json.
std::string InspectJson(const std::vector<dorvan_marker::MarkerReport>& reports, const std::string& code_page);

}  // namespace cli
