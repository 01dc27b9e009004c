// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "dorvan_marker/report.hpp"

namespace cli {

// One diagnostic as a compiler prints one:
//   lays/jacket.txt:41: warning: "IGEO" record 7: "INUM": piece ... [placement-lost]
std::string DiagnosticLine(const dorvan_marker::Diagnostic& diagnostic);

// The loader a report names: "built-in (.mdl model files)", or "plug-in NAME VERSION
// (PATH)".
std::string LoaderText(const dorvan_marker::LoaderReport& loader);

// The used length per garment: "1114.0 mm = 1.114 m = 1.218 yd".
std::string LengthPerGarmentText(const dorvan_marker::MarkerSheet& report);

// The whole report as text for a person: the marker, its measures, sizes, styles and
// diagnostics.
std::string ReportText(const dorvan_marker::MarkerSheet& report);

// What a garment is, in the words every output that counts them uses.
inline constexpr const char* kGarmentDefinition =
    "an article with a placement in the host files is one garment of its size";

// A number with `decimals` digits after a point, whatever the locale.
std::string Fixed(double value, int decimals);

}  // namespace cli
