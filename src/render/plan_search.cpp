// SPDX-License-Identifier: MIT
#include "render/plan_search.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <queue>

namespace dorvan_marker {
namespace {

// A node's linear relaxation: min cost.z with every row's row.z >= rhs and 0 <= z_j <=
// cap_j, where z counts the plies above the node's lower bounds.
struct Relaxation {
  std::vector<double> cost;               // per marker
  std::vector<double> cap;                // per marker
  std::vector<std::vector<double>> rows;  // [row][marker]
  std::vector<double> rhs;                // per row
};

struct Relaxed {
  std::vector<double> duals;   // per row, >= 0
  std::vector<double> values;  // per marker: the relaxation's z, within [0, cap]
};

// For any duals y >= 0, every z of the relaxation has cost.z >= rhs.y + sum_j cap_j *
// min(0, cost_j - (rows^T y)_j): the bound that decides what is set aside, whatever the
// simplex below got right. Less a margin for the rounding of this sum.
double LowerBound(const Relaxation& lp, const std::vector<double>& duals) {
  double bound = 0.0, magnitude = 0.0;
  for (std::size_t r = 0; r < lp.rhs.size(); ++r) {
    bound += lp.rhs[r] * duals[r];
    magnitude += std::fabs(lp.rhs[r] * duals[r]);
  }
  for (std::size_t j = 0; j < lp.cost.size(); ++j) {
    double reduced = lp.cost[j];
    for (std::size_t r = 0; r < lp.rhs.size(); ++r) {
      reduced -= lp.rows[r][j] * duals[r];
      magnitude += std::fabs(lp.rows[r][j] * duals[r]);
    }
    if (reduced < 0.0) bound += lp.cap[j] * reduced;
    magnitude += std::fabs(lp.cost[j]) + std::fabs(lp.cap[j] * reduced);
  }
  return bound - (1e-9 * magnitude + 1e-6);
}

// The dual of the relaxation by the simplex method on a dense tableau: maximise rhs.y -
// cap.w subject to rows^T y - w <= cost, y, w >= 0. One tableau row per marker; the slack
// basis is feasible because no cost is negative. The reduced costs of the slacks at the
// end are the relaxation's z. Costs and rows are scaled to about 1 first.
Relaxed SolveRelaxation(const Relaxation& lp) {
  const std::size_t rows = lp.rhs.size(), markers = lp.cost.size();
  const std::size_t columns = rows + 2 * markers;
  double cost_scale = 0.0;
  for (const double c : lp.cost) cost_scale = std::max(cost_scale, c);
  if (cost_scale == 0.0) cost_scale = 1.0;
  std::vector<double> row_scale(rows, 1.0);
  for (std::size_t r = 0; r < rows; ++r) {
    double largest = 0.0;
    for (const double a : lp.rows[r]) largest = std::max(largest, std::fabs(a));
    if (largest > 0.0) row_scale[r] = largest;
  }
  std::vector<std::vector<double>> table(markers, std::vector<double>(columns, 0.0));
  std::vector<double> value(markers), reduced(columns, 0.0);
  std::vector<std::size_t> basis(markers);
  for (std::size_t j = 0; j < markers; ++j) {
    for (std::size_t r = 0; r < rows; ++r) table[j][r] = lp.rows[r][j] / row_scale[r];
    table[j][rows + j] = -1.0;
    table[j][rows + markers + j] = 1.0;
    value[j] = lp.cost[j] / cost_scale;
    basis[j] = rows + markers + j;
    reduced[rows + j] = lp.cap[j];
  }
  for (std::size_t r = 0; r < rows; ++r) reduced[r] = -lp.rhs[r] / row_scale[r];

  constexpr double kEpsilon = 1e-10;
  for (int iteration = 0; iteration < 2000; ++iteration) {
    // The most negative reduced cost enters; after many steps the first negative one
    // does, which cannot cycle.
    std::size_t enter = columns;
    for (std::size_t k = 0; k < columns; ++k) {
      if (reduced[k] >= -kEpsilon) continue;
      if (enter == columns || (iteration < 200 && reduced[k] < reduced[enter])) enter = k;
      if (iteration >= 200) break;
    }
    if (enter == columns) break;
    std::size_t leave = markers;
    double best_ratio = 0.0;
    for (std::size_t j = 0; j < markers; ++j) {
      if (table[j][enter] <= kEpsilon) continue;
      const double ratio = value[j] / table[j][enter];
      if (leave == markers || ratio < best_ratio || (ratio == best_ratio && basis[j] < basis[leave])) {
        leave = j;
        best_ratio = ratio;
      }
    }
    if (leave == markers) break;  // unbounded: the duals so far still give a bound
    const double pivot = table[leave][enter];
    for (double& a : table[leave]) a /= pivot;
    value[leave] /= pivot;
    for (std::size_t j = 0; j < markers; ++j) {
      const double factor = table[j][enter];
      if (j == leave || factor == 0.0) continue;
      for (std::size_t k = 0; k < columns; ++k) table[j][k] -= factor * table[leave][k];
      value[j] -= factor * value[leave];
    }
    const double factor = reduced[enter];
    for (std::size_t k = 0; k < columns; ++k) reduced[k] -= factor * table[leave][k];
    basis[leave] = enter;
  }
  Relaxed solved{std::vector<double>(rows, 0.0), std::vector<double>(markers, 0.0)};
  for (std::size_t j = 0; j < markers; ++j) {
    if (basis[j] < rows) solved.duals[basis[j]] = std::max(0.0, value[j]) * cost_scale / row_scale[basis[j]];
    solved.values[j] = std::clamp(reduced[rows + markers + j] * cost_scale, 0.0, lp.cap[j]);
  }
  return solved;
}

struct Node {
  std::vector<int> low;
  std::vector<int> high;
  double bound = -HUGE_VAL;    // the least fabric of its plans, as its parent's relaxation bounds it
  std::uint64_t sequence = 0;  // the later of two nodes of one bound is visited first
};

// The nodes left to visit, the one of the least bound first: the bound of the whole
// search rises as fast as it can, and the plans found on the way are held against it.
struct LaterFirst {
  bool operator()(const Node& a, const Node& b) const {
    return a.bound != b.bound ? a.bound > b.bound : a.sequence < b.sequence;
  }
};
using Frontier = std::priority_queue<Node, std::vector<Node>, LaterFirst>;

// A plan's place in the order of plans: smaller is better.
struct Key {
  std::int64_t fabric = 0;
  std::int64_t garments = 0;
  std::int64_t plies = 0;
};

class Search {
 public:
  Search(const PlanProblem& problem, std::uint64_t step_limit) : problem_(problem), step_limit_(step_limit) {
    for (const std::int64_t per_ply : problem.fabric_per_ply) step_ = std::gcd(step_, per_ply);
    if (step_ == 0) step_ = 1;
  }

  PlanSearchResult Run() {
    const std::size_t markers = problem_.fabric_per_ply.size();
    Frontier frontier;
    frontier.push(Node{std::vector<int>(markers, 0), std::vector<int>(markers, problem_.max_plies)});
    while (!frontier.empty()) {
      if (++result_.steps > step_limit_) {
        result_.found = false;
        result_.gave_up = true;
        return result_;
      }
      Node node = frontier.top();
      frontier.pop();
      if (SetAside(node, node.bound)) continue;
      Visit(node, frontier);
    }
    return result_;
  }

 private:
  Key KeyOf(const std::vector<int>& plies) const {
    Key key;
    for (std::size_t j = 0; j < plies.size(); ++j) {
      key.fabric += problem_.fabric_per_ply[j] * plies[j];
      key.garments += problem_.garments_per_ply[j] * plies[j];
      key.plies += plies[j];
    }
    return key;
  }

  bool Better(const Key& key, const std::vector<int>& plies) const {
    if (!result_.found) return true;
    if (key.fabric != best_.fabric) return key.fabric < best_.fabric;
    if (key.garments != best_.garments) return key.garments < best_.garments;
    if (key.plies != best_.plies) return key.plies < best_.plies;
    return plies > result_.plies;  // the markers named first take the most plies
  }

  void Consider(const std::vector<int>& plies) {
    if (!MeetsOrder(problem_, plies)) return;
    const Key key = KeyOf(plies);
    if (!Better(key, plies)) return;
    best_ = key;
    result_.found = true;
    result_.plies = plies;
    result_.fabric = key.fabric;
    result_.garments = key.garments;
  }

  // The relaxation of node with the given cost, its rows the sizes still short, and
  // budget rows sum_j -weights_j z_j >= -(limit - weights.low).
  Relaxation RelaxationOf(const Node& node, const std::vector<std::int64_t>& cost,
                          const std::vector<std::pair<const std::vector<std::int64_t>*, std::int64_t>>& budgets) const {
    const std::size_t markers = node.low.size();
    Relaxation lp;
    for (std::size_t j = 0; j < markers; ++j) {
      lp.cost.push_back(static_cast<double>(cost[j]));
      lp.cap.push_back(node.high[j] - node.low[j]);
    }
    for (std::size_t r = 0; r < problem_.quantity.size(); ++r) {
      const std::int64_t short_by = problem_.quantity[r] - Dot(problem_.garments[r], node.low);
      if (short_by <= 0) continue;
      lp.rows.emplace_back(problem_.garments[r].begin(), problem_.garments[r].end());
      lp.rhs.push_back(static_cast<double>(short_by));
    }
    for (const auto& [weights, limit] : budgets) {
      std::vector<double> row;
      for (const std::int64_t w : *weights) row.push_back(-static_cast<double>(w));
      lp.rows.push_back(std::move(row));
      lp.rhs.push_back(-static_cast<double>(limit - Dot(*weights, node.low)));
    }
    return lp;
  }

  static std::int64_t Dot(const std::vector<std::int64_t>& weights, const std::vector<int>& plies) {
    std::int64_t sum = 0;
    for (std::size_t j = 0; j < plies.size(); ++j) sum += weights[j] * plies[j];
    return sum;
  }

  // Whether the most plies the node allows can still meet every size.
  bool CanMeet(const Node& node) const { return MeetsOrder(problem_, node.high); }

  // Whether nothing in node can come before the best plan: by fabric, then, where it can
  // at most tie, by garments, then by plies and the markers' order.
  bool SetAside(const Node& node, double fabric_bound) const {
    if (!result_.found) return false;
    if (fabric_bound > static_cast<double>(best_.fabric)) return true;
    if (fabric_bound <= static_cast<double>(best_.fabric - 1)) return false;
    const std::vector<std::int64_t> ones(node.low.size(), 1);
    using Budget = std::pair<const std::vector<std::int64_t>*, std::int64_t>;
    std::vector<Budget> budgets{Budget{&problem_.fabric_per_ply, best_.fabric}};
    Relaxation lp = RelaxationOf(node, problem_.garments_per_ply, budgets);
    const double garments_bound =
        static_cast<double>(Dot(problem_.garments_per_ply, node.low)) + LowerBound(lp, SolveRelaxation(lp).duals);
    if (garments_bound > static_cast<double>(best_.garments)) return true;
    if (garments_bound <= static_cast<double>(best_.garments - 1)) return false;
    budgets.emplace_back(&problem_.garments_per_ply, best_.garments);
    lp = RelaxationOf(node, ones, budgets);
    const double plies_bound = static_cast<double>(Dot(ones, node.low)) + LowerBound(lp, SolveRelaxation(lp).duals);
    if (plies_bound > static_cast<double>(best_.plies)) return true;
    if (plies_bound <= static_cast<double>(best_.plies - 1)) return false;
    return !(node.high > result_.plies);  // no plan of the node gives the first markers more
  }

  // Raises lower bounds that the sizes force (a marker must cut what the others, at
  // their most, leave short) and, once a plan is known, lowers upper bounds to the
  // fabric it takes (no plan of more fabric can come before it). False when the node
  // holds no plan that meets the order within that fabric.
  bool Propagate(Node& node) const {
    for (bool changed = true; changed;) {
      changed = false;
      for (std::size_t r = 0; r < problem_.quantity.size(); ++r) {
        const std::vector<std::int64_t>& per_ply = problem_.garments[r];
        const std::int64_t most = Dot(per_ply, node.high);
        if (most < problem_.quantity[r]) return false;
        for (std::size_t j = 0; j < node.low.size(); ++j) {
          if (per_ply[j] == 0) continue;
          const std::int64_t needed = problem_.quantity[r] - (most - per_ply[j] * node.high[j]);
          if (needed <= per_ply[j] * node.low[j]) continue;
          node.low[j] = static_cast<int>((needed + per_ply[j] - 1) / per_ply[j]);
          changed = true;
        }
      }
      if (!result_.found) continue;
      const std::int64_t room = best_.fabric - Dot(problem_.fabric_per_ply, node.low);
      if (room < 0) return false;
      for (std::size_t j = 0; j < node.low.size(); ++j) {
        const std::int64_t per_ply = problem_.fabric_per_ply[j];
        if (per_ply == 0 || node.high[j] - node.low[j] <= room / per_ply) continue;
        node.high[j] = node.low[j] + static_cast<int>(room / per_ply);
        changed = true;
      }
    }
    return true;
  }

  // Takes plies off a plan that meets the order while it still does, the dearest
  // markers first.
  std::vector<int> Trimmed(std::vector<int> plies, const Node& node) const {
    std::vector<std::size_t> order(plies.size());
    for (std::size_t j = 0; j < order.size(); ++j) order[j] = j;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return problem_.fabric_per_ply[a] > problem_.fabric_per_ply[b]; });
    for (const std::size_t j : order) {
      std::int64_t spare = plies[j] - node.low[j];
      for (std::size_t r = 0; r < problem_.quantity.size() && spare > 0; ++r) {
        const std::int64_t per_ply = problem_.garments[r][j];
        if (per_ply != 0) spare = std::min(spare, (Dot(problem_.garments[r], plies) - problem_.quantity[r]) / per_ply);
      }
      plies[j] -= static_cast<int>(std::max<std::int64_t>(spare, 0));
    }
    return plies;
  }

  // Narrows the node to the plies that can still tie or beat the best plan's fabric.
  // With the duals, fabric >= bound + reduced_j x (plies above the node's low, or below
  // its high when reduced_j < 0), for each marker j alone; bound is the node's.
  void FixByReducedCost(Node& node, const Relaxation& lp, const std::vector<double>& duals, double bound) const {
    const double room = static_cast<double>(best_.fabric) - bound;
    for (std::size_t j = 0; j < node.low.size(); ++j) {
      double reduced = lp.cost[j];
      for (std::size_t r = 0; r < lp.rhs.size(); ++r) reduced -= lp.rows[r][j] * duals[r];
      const double margin = 1e-9 * (std::fabs(reduced) * lp.cap[j] + std::fabs(room)) + 1e-6;
      if (reduced > 0.0) {
        const double most = std::floor((room + margin) / reduced);
        if (most < lp.cap[j]) node.high[j] = node.low[j] + static_cast<int>(std::max(most, 0.0));
      } else if (reduced < 0.0) {
        const double most = std::floor((room + margin) / -reduced);
        if (most < lp.cap[j]) node.low[j] = node.high[j] - static_cast<int>(std::max(most, 0.0));
      }
    }
  }

  void Visit(Node& node, Frontier& frontier) {
    if (!Propagate(node)) return;
    const Relaxation lp = RelaxationOf(node, problem_.fabric_per_ply, {});
    if (lp.rhs.empty()) {  // the lower bounds meet the order: nothing costs less
      Consider(node.low);
      return;
    }
    const Relaxed relaxed = SolveRelaxation(lp);
    const double low_fabric = static_cast<double>(Dot(problem_.fabric_per_ply, node.low));
    // Fabric above the node's lows comes in multiples of step_ (lengths in whole
    // millimetres share 1000): the bound rises to the next one, less a hair for rounding.
    const double lagrangian = LowerBound(lp, relaxed.duals);
    const double bound =
        low_fabric + std::ceil(lagrangian / static_cast<double>(step_) - 1e-9) * static_cast<double>(step_);
    if (SetAside(node, bound)) return;
    // Rounding the relaxation up meets the order too: a plan to hold the others against.
    std::vector<int> rounded = node.low;
    for (std::size_t j = 0; j < rounded.size(); ++j) {
      rounded[j] = std::min(node.high[j], node.low[j] + static_cast<int>(std::ceil(relaxed.values[j] - 1e-6)));
    }
    if (MeetsOrder(problem_, rounded)) Consider(Trimmed(rounded, node));
    if (SetAside(node, bound)) return;
    Node narrowed = node;
    FixByReducedCost(narrowed, lp, relaxed.duals, low_fabric + lagrangian);  // the bound before rounding adds up
    narrowed.bound = bound;
    if (bound > static_cast<double>(best_.fabric - 1)) {
      BranchInMarkersOrder(narrowed, frontier);  // it can at most tie: the first markers' plies decide
    } else {
      Branch(narrowed, node.low, relaxed, frontier);
    }
  }

  // Splits the node in half on the first marker still free; the half of more plies is
  // visited first, so the first plan found is the one that gives the first markers most.
  void BranchInMarkersOrder(const Node& node, Frontier& frontier) {
    for (std::size_t j = 0; j < node.low.size(); ++j) {
      if (node.low[j] == node.high[j]) continue;
      Node down = node, up = node;
      down.high[j] = node.low[j] + (node.high[j] - node.low[j]) / 2;
      up.low[j] = down.high[j] + 1;
      down.sequence = ++sequence_;
      frontier.push(std::move(down));
      up.sequence = ++sequence_;
      frontier.push(std::move(up));
      return;
    }
  }

  // Splits the node on the marker whose relaxed plies (counted from relaxed_from, the
  // lows the relaxation was solved with) are furthest from whole, else on the first one
  // still free.
  void Branch(const Node& node, const std::vector<int>& relaxed_from, const Relaxed& relaxed, Frontier& frontier) {
    std::size_t chosen = node.low.size();
    double widest = 1e-6;
    for (std::size_t j = 0; j < node.low.size(); ++j) {
      if (node.low[j] == node.high[j]) continue;
      const double fraction = relaxed.values[j] - std::floor(relaxed.values[j]);
      const double distance = std::min(fraction, 1.0 - fraction);
      if (distance > widest) {
        widest = distance;
        chosen = j;
      }
    }
    if (chosen == node.low.size()) {
      for (std::size_t j = 0; j < node.low.size() && chosen == node.low.size(); ++j) {
        if (node.low[j] != node.high[j]) chosen = j;
      }
    }
    if (chosen == node.low.size()) return;  // every marker fixed: the rounded plan was this one
    const int split = std::clamp(relaxed_from[chosen] + static_cast<int>(std::floor(relaxed.values[chosen] + 1e-6)),
                                 node.low[chosen], node.high[chosen] - 1);
    Node down = node, up = node;
    down.high[chosen] = split;
    up.low[chosen] = split + 1;
    down.sequence = ++sequence_;
    frontier.push(std::move(down));
    up.sequence = ++sequence_;
    frontier.push(std::move(up));
  }

  const PlanProblem& problem_;
  std::uint64_t step_limit_;
  PlanSearchResult result_;
  Key best_;
  std::uint64_t sequence_ = 0;
  std::int64_t step_ = 0;  // the greatest common divisor of the fabric per ply
};

}  // namespace

bool MeetsOrder(const PlanProblem& problem, const std::vector<int>& plies) {
  for (std::size_t r = 0; r < problem.quantity.size(); ++r) {
    std::int64_t cut = 0;
    for (std::size_t j = 0; j < plies.size(); ++j) cut += problem.garments[r][j] * plies[j];
    if (cut < problem.quantity[r]) return false;
  }
  return true;
}

PlanSearchResult SearchPlan(const PlanProblem& problem, std::uint64_t step_limit) {
  return Search(problem, step_limit).Run();
}

}  // namespace dorvan_marker
