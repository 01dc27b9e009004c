// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "dorvan_marker/report.hpp"

namespace cli {

// The marker as an SVG picture: the fabric strip to scale (x along the length to the
// right, y across the width downwards, 1 user unit = 1 mm), every placement's box filled
// with the colour of its size (CSS classes s0, s1, ... in the order of the sizes),
// mirrored pieces crossed by a dashed diagonal, quarter-turned ones marked by a corner
// triangle, lost placements hatched in red, the fabric's two long edges drawn dark and its
// origin marked, and below it scale bars in cm and in inches and a legend of the sizes
// with their counts. Labels are drawn only on boxes big enough to read, so
// a marker of tens of thousands of pieces stays one element per piece. A strip more than
// eight times as long as wide is cut into rows laid one below the other, each clipped to
// its part, so that the picture stays within 2000 pixels and still shows the pieces.
std::string MarkerSvg(const dorvan_marker::MarkerReport& report);

}  // namespace cli
