// SPDX-License-Identifier: MIT
// The time of the exactest part of a plan, its search, for 12 markers and 40 sizes: the
// worst of ORDERS random orders (default 20), as a cutting room's markers hold a few
// sizes each. Prints "SECONDS STEPS" of the slowest order.
//   plan-bench [ORDERS]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "render/plan_search.hpp"

namespace {

std::uint64_t Next(std::uint64_t& state) {  // splitmix64: the same orders on every machine
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// Each marker cuts every twelfth size and four more at random, one or two garments of
// each, about 1.1 m of fabric a garment; each size is ordered
// up to three quarters of what 100 plies of every marker cut.
dorvan_marker::PlanProblem RandomOrder(std::uint64_t seed) {
  constexpr int kMarkers = 12, kSizes = 40;
  std::uint64_t state = seed;
  std::vector<std::vector<std::int64_t>> garments(kMarkers, std::vector<std::int64_t>(kSizes, 0));
  dorvan_marker::PlanProblem problem;
  for (int j = 0; j < kMarkers; ++j) {
    for (int s = j; s < kSizes; s += kMarkers) garments[j][s] = 1 + static_cast<std::int64_t>(Next(state) % 2);
    for (int extra = 0; extra < 4; ++extra)
      garments[j][Next(state) % kSizes] = 1 + static_cast<std::int64_t>(Next(state) % 2);
    std::int64_t all = 0;
    for (const std::int64_t g : garments[j]) all += g;
    problem.garments_per_ply.push_back(all);
    problem.fabric_per_ply.push_back(all * (950000 + static_cast<std::int64_t>(Next(state) % 300000)));
  }
  for (int s = 0; s < kSizes; ++s) {
    problem.garments.emplace_back();
    for (int j = 0; j < kMarkers; ++j) problem.garments.back().push_back(garments[j][s]);
    std::int64_t most = 0;
    for (const std::int64_t g : problem.garments.back()) most += g * problem.max_plies;
    const std::int64_t quantity = static_cast<std::int64_t>(Next(state) % static_cast<std::uint64_t>(most * 3 / 4 + 1));
    if (quantity == 0) {
      problem.garments.pop_back();
      continue;
    }
    problem.quantity.push_back(quantity);
  }
  return problem;
}

}  // namespace

int main(int argc, char** argv) {
  const int orders = argc > 1 ? std::atoi(argv[1]) : 20;
  double worst = 0.0;
  std::uint64_t worst_steps = 0;
  for (int i = 0; i < orders; ++i) {
    const dorvan_marker::PlanProblem problem = RandomOrder(1000 + static_cast<std::uint64_t>(i));
    const auto start = std::chrono::steady_clock::now();
    const dorvan_marker::PlanSearchResult found = dorvan_marker::SearchPlan(problem, 5000000);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!found.found) {
      std::fprintf(stderr, "plan-bench: order %d found no plan\n", i);
      return 1;
    }
    if (seconds > worst) {
      worst = seconds;
      worst_steps = found.steps;
    }
  }
  std::printf("%.6f %llu\n", worst, static_cast<unsigned long long>(worst_steps));
  return 0;
}
