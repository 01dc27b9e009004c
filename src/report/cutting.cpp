// SPDX-License-Identifier: MIT
// The fabric a marker's plies take: the one rule the plan and the reports share.
#include <cmath>
#include <limits>

#include "dorvan_marker/json.hpp"

namespace dorvan_marker {

std::int64_t FabricPerPlyUm(double used_length_mm, std::int64_t end_allowance_um) {
  return std::llround(used_length_mm * 1000.0) + end_allowance_um;
}

double FabricNeededMm(const MarkerReport& report, const Cutting& cutting) {
  // Beyond 1000 km, or not a length at all, the sum would leave 64 bits: no figure.
  if (!(report.used_length_mm >= 0.0 && report.used_length_mm <= kLongestReckonedMm)) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  return static_cast<double>(FabricPerPlyUm(report.used_length_mm, cutting.end_allowance_um) * cutting.plies) / 1000.0;
}

}  // namespace dorvan_marker
