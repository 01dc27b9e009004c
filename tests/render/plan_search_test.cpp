// SPDX-License-Identifier: MIT
// The plan's search against every plan there is, on small random orders.
#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "render/plan_search.hpp"

namespace {

using dorvan_marker::PlanProblem;

std::uint64_t Next(std::uint64_t& state) {  // splitmix64: the same cases on every machine
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// The order of plans, written out: fabric, garments, plies, then the first markers' plies.
auto Rank(const PlanProblem& problem, const std::vector<int>& plies) {
  std::int64_t fabric = 0, garments = 0, count = 0;
  std::vector<int> negated;
  for (std::size_t j = 0; j < plies.size(); ++j) {
    fabric += problem.fabric_per_ply[j] * plies[j];
    garments += problem.garments_per_ply[j] * plies[j];
    count += plies[j];
    negated.push_back(-plies[j]);
  }
  return std::make_tuple(fabric, garments, count, negated);
}

// Every plan, one after another.
std::vector<int> Exhaustive(const PlanProblem& problem) {
  const std::size_t markers = problem.fabric_per_ply.size();
  std::vector<int> plies(markers, 0), best;
  while (true) {
    if (dorvan_marker::MeetsOrder(problem, plies) && (best.empty() || Rank(problem, plies) < Rank(problem, best))) {
      best = plies;
    }
    std::size_t j = 0;
    while (j < markers && plies[j] == problem.max_plies) plies[j++] = 0;
    if (j == markers) return best;
    ++plies[j];
  }
}

}  // namespace

TEST(PlanSearch, FindsThePlanThatExhaustiveSearchFinds) {
  const struct {
    const char* what;
    int markers, sizes, max_plies;
    std::int64_t shortest, longest;  // fabric per ply, micrometres
    int most_per_size;               // garments of a size per ply
    bool one_marker_twice;
  } rows[] = {
      {"lengths as markers have them", 4, 5, 5, 900000, 9000000, 3, false},
      {"lengths of few values: plans tie on fabric", 4, 4, 6, 2, 4, 2, false},
      {"equal lengths: ties on fabric and garments", 3, 3, 6, 5, 5, 2, false},
      {"a marker given twice", 3, 4, 5, 3, 7, 3, true},
      {"sparse markers, many sizes", 3, 8, 6, 1000, 2000, 1, false},
      {"lengths of none: ties on every figure but the plies", 3, 3, 4, 0, 0, 2, false},
  };
  for (const auto& row : rows) {
    std::uint64_t state = 20261209;
    for (int trial = 0; trial < 150; ++trial) {
      PlanProblem problem;
      problem.max_plies = row.max_plies;
      auto below = [&](std::int64_t n) {
        return static_cast<std::int64_t>(Next(state) % static_cast<std::uint64_t>(n));
      };
      for (int j = 0; j < row.markers; ++j)
        problem.fabric_per_ply.push_back(row.shortest + below(row.longest - row.shortest + 1));
      problem.garments.assign(static_cast<std::size_t>(row.sizes), {});
      problem.garments_per_ply.assign(static_cast<std::size_t>(row.markers), 0);
      for (int r = 0; r < row.sizes; ++r) {
        for (int j = 0; j < row.markers; ++j) {
          problem.garments[r].push_back(below(row.most_per_size + 1));
          problem.garments_per_ply[j] += problem.garments[r][j] + below(2);  // and of sizes not ordered
        }
        problem.quantity.push_back(1 + below(row.most_per_size * row.max_plies));
      }
      if (row.one_marker_twice) {
        problem.fabric_per_ply.back() = problem.fabric_per_ply.front();
        problem.garments_per_ply.back() = problem.garments_per_ply.front();
        for (auto& size : problem.garments) size.back() = size.front();
      }
      const std::vector<int> expected = Exhaustive(problem);
      const dorvan_marker::PlanSearchResult found = dorvan_marker::SearchPlan(problem, 1000000);
      EXPECT_EQ(found.found, !expected.empty()) << row.what << ", trial " << trial;
      EXPECT_FALSE(found.gave_up) << row.what << ", trial " << trial;
      if (found.found && !expected.empty()) {
        EXPECT_EQ(found.plies, expected) << row.what << ", trial " << trial;
        EXPECT_EQ(found.fabric, std::get<0>(Rank(problem, expected))) << row.what << ", trial " << trial;
      }
    }
  }
}
