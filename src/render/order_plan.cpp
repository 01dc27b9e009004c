// SPDX-License-Identifier: MIT
#include "render/order_plan.hpp"

#include <charconv>
#include <map>
#include <new>

#include "dorvan_marker/error.hpp"
#include "dorvan_marker/json.hpp"

namespace dorvan_marker {
namespace {

constexpr double kLongestMarkerMm = kLongestReckonedMm;

OrderPlan Refused(PlanStatus status, std::string message) {
  OrderPlan plan;
  plan.status = status;
  plan.message = std::move(message);
  return plan;
}

std::string MarkerCountProblem(const std::vector<std::string>& marker_paths) {
  if (marker_paths.empty()) return "a plan needs at least one marker";
  if (marker_paths.size() > kPlanMostMarkers) {
    return "a plan takes at most " + std::to_string(kPlanMostMarkers) + " markers, not " +
           std::to_string(marker_paths.size()) + ": plan the order in parts";
  }
  return {};
}

// "size 38 needs 500, at most 300 can be cut" for every size the most plies leave short.
std::string Shortfalls(const PlanProblem& problem, const std::vector<std::string>& row_sizes) {
  std::string text;
  for (std::size_t r = 0; r < problem.quantity.size(); ++r) {
    std::int64_t most = 0;
    for (const std::int64_t per_ply : problem.garments[r]) most += per_ply * problem.max_plies;
    if (most >= problem.quantity[r]) continue;
    text += (text.empty() ? "" : "; ") + std::string("size \"") + row_sizes[r] + "\" needs " +
            std::to_string(problem.quantity[r]) + ", at most " + std::to_string(most) + " can be cut";
  }
  return text;
}

// The first error of a marker that cannot be planned, as the library words it elsewhere.
std::string WhyUnread(const MarkerSheet& sheet, bool too_long) {
  if (too_long) {
    char figure[64];  // std::to_chars: the same text whatever the process's locale
    const auto written = std::to_chars(figure, figure + sizeof figure, sheet.used_length_mm);
    return sheet.path + ": the used length " + std::string(figure, written.ptr) + " mm is outside 0 to 1000 km";
  }
  for (const Diagnostic& diagnostic : sheet.diagnostics) {
    if (diagnostic.severity == Severity::Error)
      return InvalidArgumentError(diagnostic.message, diagnostic.where).what();
  }
  return sheet.path + ": cannot be read";
}

}  // namespace

MarkerGarments GarmentsOf(const std::vector<MarkerSheet>& sheets) {
  MarkerGarments garments;
  std::map<std::string, std::size_t> index;
  for (const MarkerSheet& sheet : sheets) {
    for (const SizeReport& size : sheet.sizes) {
      if (index.emplace(size.size, garments.sizes.size()).second) garments.sizes.push_back(size.size);
    }
  }
  for (const MarkerSheet& sheet : sheets) {
    std::vector<std::int64_t> counts(garments.sizes.size(), 0);
    for (std::size_t i = 0; i < sheet.sizes.size(); ++i) {
      counts[index.at(sheet.sizes[i].size)] += static_cast<std::int64_t>(sheet.GarmentsOfSize(i));
    }
    garments.by_marker.push_back(std::move(counts));
  }
  return garments;
}

OrderPlan PlanRows(const std::vector<MarkerSheet>& sheets, const std::vector<OrderRow>& rows,
                   const std::string& order_name, const PlanOptions& options) {
  const MarkerGarments garments = GarmentsOf(sheets);
  std::map<std::string, std::size_t> size_index;
  for (std::size_t s = 0; s < garments.sizes.size(); ++s) size_index.emplace(garments.sizes[s], s);

  std::vector<std::int64_t> ordered(garments.sizes.size(), 0);
  PlanProblem problem;
  problem.max_plies = options.max_plies;
  std::vector<std::string> row_sizes;
  for (const OrderRow& row : rows) {
    const auto found = size_index.find(row.size);
    if (found == size_index.end()) {
      throw InvalidArgumentError("size \"" + row.size + "\" is cut by none of the markers",
                                 OrderLine(order_name, row.line));
    }
    ordered[found->second] = row.quantity;
    if (row.quantity == 0) continue;
    problem.quantity.push_back(row.quantity);
    problem.garments.emplace_back();
    for (const std::vector<std::int64_t>& counts : garments.by_marker)
      problem.garments.back().push_back(counts[found->second]);
    row_sizes.push_back(row.size);
  }
  for (std::size_t j = 0; j < sheets.size(); ++j) {
    problem.fabric_per_ply.push_back(FabricPerPlyUm(sheets[j].used_length_mm, options.end_allowance_um));
    std::int64_t all = 0;
    for (const std::int64_t count : garments.by_marker[j]) all += count;
    problem.garments_per_ply.push_back(all);
  }

  const std::string shortfalls = Shortfalls(problem, row_sizes);
  if (!shortfalls.empty()) {
    return Refused(PlanStatus::OrderUnmet, order_name + ": the order cannot be met with at most " +
                                               std::to_string(options.max_plies) +
                                               " plies of each marker: " + shortfalls);
  }
  const PlanSearchResult found = SearchPlan(problem, kPlanStepLimit);
  if (!found.found) {
    OrderPlan plan = Refused(PlanStatus::GaveUp, order_name + ": the search for the best plan stopped after " +
                                                     std::to_string(found.steps) + " steps; plan with fewer markers");
    plan.search_steps = found.steps;
    return plan;
  }

  OrderPlan plan;
  plan.status = PlanStatus::Planned;
  plan.max_plies = options.max_plies;
  plan.end_allowance_um = options.end_allowance_um;
  plan.search_steps = found.steps;
  plan.total_fabric_um = found.fabric;
  for (std::size_t j = 0; j < sheets.size(); ++j) {
    plan.markers.push_back(PlannedMarker{sheets[j].path, sheets[j].title, problem.fabric_per_ply[j], found.plies[j]});
  }
  for (std::size_t s = 0; s < garments.sizes.size(); ++s) {
    std::int64_t cut = 0;
    for (std::size_t j = 0; j < sheets.size(); ++j) cut += garments.by_marker[j][s] * found.plies[j];
    plan.sizes.push_back(PlannedSize{garments.sizes[s], ordered[s], cut});
  }
  return plan;
}

OrderPlan PlanOrder(const std::vector<std::string>& marker_paths, const std::string& order_text,
                    const std::string& order_name, const PlanOptions& options) {
  const std::string problem = MarkerCountProblem(marker_paths);
  if (!problem.empty()) return Refused(PlanStatus::TooManyMarkers, problem);
  if (options.max_plies < 1 || options.max_plies > kPlanMostPlies) {
    return Refused(PlanStatus::BadOptions, "the most plies of a marker must be from 1 to " +
                                               std::to_string(kPlanMostPlies) + ", not " +
                                               std::to_string(options.max_plies));
  }
  if (options.end_allowance_um < 0 || options.end_allowance_um > static_cast<std::int64_t>(kLongestMarkerMm)) {
    return Refused(PlanStatus::BadOptions, "the end allowance must be from 0 to 1000 km");
  }
  try {
    const std::vector<OrderRow> rows = ReadOrder(order_text, order_name);
    std::vector<MarkerSheet> sheets;
    OrderPlan unread = Refused(PlanStatus::MarkerUnread, "");
    for (const std::string& path : marker_paths) {
      sheets.push_back(InspectMarkerSheet(path, options.import));
      const MarkerSheet& sheet = sheets.back();
      const bool too_long = !(sheet.used_length_mm >= 0.0 && sheet.used_length_mm <= kLongestMarkerMm);
      if (sheet.status == ReportStatus::Read && !too_long) continue;
      if (unread.message.empty()) unread.message = WhyUnread(sheet, too_long);
      unread.unread.push_back(sheet);
    }
    if (!unread.unread.empty()) return unread;
    return PlanRows(sheets, rows, order_name, options);
  } catch (const InvalidArgumentError& error) {
    return Refused(PlanStatus::BadOrder, error.what());
  }
}

}  // namespace dorvan_marker
