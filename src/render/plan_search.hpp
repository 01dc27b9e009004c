// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

namespace dorvan_marker {

// A cutting order as a small integer program: plies x_j of each marker j, 0 <= x_j <=
// max_plies, such that every row (an ordered size) gets at least its quantity. All
// figures are integers, so every build compares plans the same way.
struct PlanProblem {
  std::vector<std::int64_t> fabric_per_ply;         // per marker, micrometres (>= 0)
  std::vector<std::int64_t> garments_per_ply;       // per marker, garments of every size it cuts
  std::vector<std::vector<std::int64_t>> garments;  // [row][marker]: garments of the row's size a ply cuts
  std::vector<std::int64_t> quantity;               // per row: garments ordered (> 0)
  int max_plies = 100;
};

// The best plan: the least fabric; among equal fabric the fewest garments cut (so the
// fewest beyond the order); then the fewest plies; then the markers named first take the
// most plies (the plies compared marker by marker). This order is total, so the best
// plan is one, whichever way the search reaches it.
struct PlanSearchResult {
  bool found = false;         // false: no plan meets the order, or the search gave up
  bool gave_up = false;       // the search took more than its step limit
  std::vector<int> plies;     // per marker
  std::int64_t fabric = 0;    // micrometres
  std::int64_t garments = 0;  // garments cut, every size
  std::uint64_t steps = 0;    // nodes of the search visited
};

// Branch and bound. Each node's linear relaxation is solved through its dual, and the
// node is set aside only by a bound that any dual values give (a Lagrangian bound,
// evaluated with a margin for rounding), so a slip of the floating-point solver can make
// the search slower, never its answer wrong. Gives up after step_limit nodes.
PlanSearchResult SearchPlan(const PlanProblem& problem, std::uint64_t step_limit);

// Whether plies meet every row of problem.
bool MeetsOrder(const PlanProblem& problem, const std::vector<int>& plies);

}  // namespace dorvan_marker
