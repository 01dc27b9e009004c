// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "dorvan_marker/json.hpp"
#include "dorvan_marker/report.hpp"

namespace dorvan_marker {

// The words that the text, the CSV and the printed sheet share.

// The loader a report names: "built-in (.mdl model files)", or "plug-in NAME VERSION
// (PATH)".
std::string LoaderText(const LoaderReport& loader);

// The used length per garment: "1114.0 mm = 1.114 m = 1.218 yd".
std::string LengthPerGarmentText(const MarkerSheet& report);

// The plies, the fabric they need and the garments they cut: "3 x (1114.0 + 20.0 mm end
// allowance) = 3402.0 mm = 3.402 m = 3.720 yd of fabric, 6 garments".
std::string PliesText(const MarkerSheet& report, const Cutting& cutting);

// The styles, a comma and a blank between two; empty when there are none.
std::string StylesList(const MarkerReport& report);

// What a garment is, in the words every output that counts them uses.
inline constexpr const char* kGarmentDefinition =
    "an article with a placement in the host files is one garment of its size";

}  // namespace dorvan_marker
