// SPDX-License-Identifier: MIT
// The first page of a printed season: every marker's figures, the totals, and the plan.
#include <cmath>

#include "dorvan_marker/json.hpp"
#include "dorvan_marker/render.hpp"
#include "platform/decimal_text.hpp"
#include "render/html_parts.hpp"
#include "render/markup.hpp"

namespace dorvan_marker {
namespace {

// The rows the page holds at its type size: with a plan below, fewer (a plan takes at most
// kPlanMostMarkers markers, so its season fits).
constexpr std::size_t kRowsAlone = 34;
constexpr std::size_t kRowsAbovePlan = kPlanMostMarkers;

std::string Cell(const std::string& text, const char* figure = nullptr) {
  if (figure == nullptr) return "<td>" + text + "</td>";
  return std::string("<td class=\"n\" data-figure=\"") + figure + "\">" + text + "</td>";
}

std::string Mm(double mm) { return std::isfinite(mm) ? FixedText(mm, 1) : "-"; }

std::string MetresAndYards(double mm) { return FixedText(Metres(mm), 3) + " m = " + FixedText(Yards(mm), 3) + " yd"; }

std::string MarkerRow(const SeasonRow& r, const Cutting& cutting) {
  const bool read = r.status == ReportStatus::Read;
  const std::string& how = r.code_page;
  return "<tr data-status=\"" + std::string(StatusName(r.status)) + "\">" +
         Cell(Markup(r.title.empty() ? "-" : r.title, how)) + Cell(Markup(r.path, how)) +
         Cell(read && r.width_known ? Mm(r.width_mm) : "-", "fabric_width_mm") +
         Cell(read ? Mm(r.used_length_mm) : "-", "used_length_mm") +
         Cell(read && r.width_known ? FixedText(r.box_efficiency * 100.0, 1) : "-", "box_efficiency") +
         Cell(std::to_string(r.garments), "garments") + Cell(std::to_string(cutting.plies), "plies") +
         Cell(read ? Mm(r.fabric_needed_mm) : "-", "fabric_needed_mm") + Cell(std::to_string(r.errors), "errors") +
         Cell(std::to_string(r.warnings), "warnings") + "</tr>\n";
}

// The totals of every marker, those cut from the page among them; fabric of those read.
std::string TotalRow(const std::vector<SeasonRow>& rows, const Cutting& cutting) {
  std::size_t garments = 0, errors = 0, warnings = 0, read = 0;
  double fabric = 0.0;
  for (const SeasonRow& r : rows) {
    errors += r.errors;
    warnings += r.warnings;
    if (r.status != ReportStatus::Read || !std::isfinite(r.fabric_needed_mm)) continue;
    ++read;
    garments += r.garments;
    fabric += r.fabric_needed_mm;
  }
  return "<tr class=\"total\">" + Cell("total") +
         Cell(std::to_string(read) + " of " + std::to_string(rows.size()) + " markers read") + Cell("") + Cell("") +
         Cell("") + Cell(std::to_string(garments * std::size_t(cutting.plies)), "garments_cut") + Cell("") +
         Cell(Mm(fabric), "fabric_needed_mm") + Cell(std::to_string(errors), "errors") +
         Cell(std::to_string(warnings), "warnings") + "</tr>\n<tr><td colspan=\"10\">fabric needed " + Mm(fabric) +
         " mm = " + MetresAndYards(fabric) + " for " + std::to_string(cutting.plies) +
         (cutting.plies == 1 ? " ply" : " plies") + " of each marker read, " +
         FixedText(static_cast<double>(cutting.end_allowance_um) / 1000.0, 1) +
         " mm end allowance a ply; the garments in total are those the plies cut</td></tr>\n";
}

std::string SeasonTable(const std::vector<SeasonRow>& rows, const Cutting& cutting, std::size_t most_rows) {
  std::string html =
      "<table class=\"markers\"><colgroup><col style=\"width:14%\"><col style=\"width:24%\"><col><col><col><col>"
      "<col><col><col><col></colgroup>\n<thead><tr><th>marker</th><th>file</th><th class=\"n\">fabric width "
      "mm</th><th class=\"n\">used length mm</th><th class=\"n\">efficiency %</th><th class=\"n\">garments</th><th "
      "class=\"n\">plies</th><th class=\"n\">fabric needed mm</th><th class=\"n\">errors</th><th "
      "class=\"n\">warnings</th></tr></thead>\n<tbody>\n";
  const bool cut = rows.size() > most_rows;
  const std::size_t shown = cut ? most_rows - 1 : rows.size();
  for (std::size_t i = 0; i < shown; ++i) html += MarkerRow(rows[i], cutting);
  if (cut) {
    html += "<tr><td colspan=\"10\" class=\"more\">and " + std::to_string(rows.size() - shown) +
            " more markers: their pages follow, and the totals count them</td></tr>\n";
  }
  return html + TotalRow(rows, cutting) + "</tbody></table>\n";
}

std::string PlanTables(const OrderPlan& plan, const std::string& how) {
  if (plan.status != PlanStatus::Planned) {
    return "<h2>Plan of the order</h2>\n<p class=\"no-plan\">No plan: " + Markup(plan.message, how) + "</p>\n";
  }
  std::string markers =
      "<table class=\"plan-markers\"><thead><tr><th>marker</th><th class=\"n\">plies</th><th class=\"n\">per ply "
      "mm</th><th class=\"n\">fabric mm</th></tr></thead>\n<tbody>\n";
  for (const PlannedMarker& m : plan.markers) {
    markers += "<tr>" + Cell(Markup(m.path, how)) + Cell(std::to_string(m.plies), "plies") +
               Cell(Mm(static_cast<double>(m.fabric_per_ply_um) / 1000.0), "fabric_per_ply_mm") +
               Cell(Mm(static_cast<double>(m.FabricUm()) / 1000.0), "fabric_mm") + "</tr>\n";
  }
  const double total = static_cast<double>(plan.total_fabric_um) / 1000.0;
  markers += "<tr class=\"total\">" + Cell("total") + Cell("") + Cell("") + Cell(Mm(total), "total_fabric_mm") +
             "</tr>\n<tr><td colspan=\"4\">" + MetresAndYards(total) + ", at most " + std::to_string(plan.max_plies) +
             " plies of a marker</td></tr>\n</tbody></table>\n";
  std::string sizes =
      "<table class=\"plan-sizes\"><thead><tr><th>size</th><th class=\"n\">ordered</th><th class=\"n\">cut</th><th "
      "class=\"n\">beyond</th></tr></thead>\n<tbody>\n";
  for (const PlannedSize& size : plan.sizes) {
    sizes += "<tr>" + Cell(Markup(size.size, how)) + Cell(std::to_string(size.ordered), "ordered") +
             Cell(std::to_string(size.cut), "cut") + Cell(std::to_string(size.Beyond()), "beyond") + "</tr>\n";
  }
  sizes += "</tbody></table>\n";
  return "<h2>Plan of the order</h2>\n<div class=\"plan\"><div>" + markers + "</div><div>" + sizes + "</div></div>\n";
}

}  // namespace

std::size_t ReportPages(std::size_t markers, bool with_plan) {
  return markers > 1 || with_plan ? markers + 1 : markers;
}

std::string ReportTitle(const std::string& title, const std::vector<std::string>& marker_paths) {
  if (!title.empty() || marker_paths.empty()) return title.empty() ? "Marker report" : title;
#if defined(_WIN32)
  const char* const separators = "/\\";
#else
  const char* const separators = "/";
#endif
  const std::string& path = marker_paths.front();
  const std::size_t file = path.find_last_of(separators);
  if (file == std::string::npos) return "Marker report";
  const std::string folder = path.substr(0, path.find_last_not_of(separators, file) + 1);
  const std::size_t last = folder.find_last_of(separators);
  const std::string name = last == std::string::npos ? folder : folder.substr(last + 1);
  return name.empty() || name == "." || name == ".." ? "Marker report" : name;
}

SeasonRow SeasonRowOf(const MarkerSheet& report, const Cutting& cutting) {
  SeasonRow row;
  row.title = report.title;
  row.path = report.path;
  row.code_page = report.code_page;
  row.status = report.status;
  row.width_known = report.FabricWidthKnown();
  row.width_mm = report.width_mm;
  row.used_length_mm = report.used_length_mm;
  row.box_efficiency = report.box_efficiency;
  row.garments = report.garments;
  row.fabric_needed_mm = FabricNeededMm(report, cutting);
  row.errors = report.Count(Severity::Error);
  row.warnings = report.Count(Severity::Warning);
  return row;
}

std::string HtmlSummaryPage(const std::vector<SeasonRow>& rows, const OrderPlan* plan, const PageOptions& page) {
  const std::string how = rows.empty() ? kTitleCodePage : rows.front().code_page;
  const std::string code_page = page.code_page_given.empty() ? "the system's" : page.code_page_given;
  std::string html = "<section class=\"sheet summary\" data-status=\"summary\">\n";
  html += PageHeader("Season summary: " + std::to_string(rows.size()) + (rows.size() == 1 ? " marker" : " markers"),
                     "code page " + Markup(code_page, kTitleCodePage), page);
  html += "<div class=\"season\">\n" + SeasonTable(rows, page.cutting, plan == nullptr ? kRowsAlone : kRowsAbovePlan) +
          (plan == nullptr ? std::string() : PlanTables(*plan, how)) + "</div>\n</section>\n";
  return html;
}

}  // namespace dorvan_marker
