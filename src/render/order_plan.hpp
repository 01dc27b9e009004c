// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dorvan_marker/plan.hpp"
#include "render/order_file.hpp"
#include "render/plan_search.hpp"

namespace dorvan_marker {

// Nodes the search may visit before it gives up: some forty times what the slowest of
// the benchmark's orders of 12 markers takes, yet a bound on a call's time and memory
// (the nodes still to visit are kept).
inline constexpr std::uint64_t kPlanStepLimit = 1000000;

// The sizes the markers cut, in the order they list them, and each marker's garments of
// each per ply, as the markers' reports count them (report.GarmentsOfSize).
struct MarkerGarments {
  std::vector<std::string> sizes;
  std::vector<std::vector<std::int64_t>> by_marker;  // [marker][size]
};
MarkerGarments GarmentsOf(const std::vector<MarkerSheet>& sheets);

// Plans rows of a read order against sheets that were read: the parts of PlanOrder after
// reading. Throws InvalidArgumentError for a row whose size no marker cuts.
OrderPlan PlanRows(const std::vector<MarkerSheet>& sheets, const std::vector<OrderRow>& rows,
                   const std::string& order_name, const PlanOptions& options);

}  // namespace dorvan_marker
