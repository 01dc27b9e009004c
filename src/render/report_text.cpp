// SPDX-License-Identifier: MIT
// The report as text for a person: what `inspect` prints.
#include "dorvan_marker/json.hpp"
#include "dorvan_marker/render.hpp"
#include "platform/decimal_text.hpp"
#include "platform/position_text.hpp"
#include "render/report_words.hpp"

namespace dorvan_marker {
namespace {

// The figures of a marker read to the end, each a labelled row.
template <typename AddRow>
void AddFigures(const MarkerSheet& report, const Cutting& cutting, AddRow&& row) {
  const bool width_known = report.FabricWidthKnown();
  row("fabric", width_known ? FixedText(report.width_mm, 1) + " mm = " + FixedText(Centimetres(report.width_mm), 1) +
                                  " cm = " + FixedText(Inches(report.width_mm), 2) + " in wide"
                            : "width unknown (the marker names none)");
  row("used",
      FixedText(report.used_length_mm, 1) + " mm long, " + FixedText(report.used_width_mm, 1) + " mm across the width");
  const std::string overlap =
      report.Has(diagnostic_code::kBoxesOverlap) ? "; the boxes overlap, so the figure says nothing" : "";
  row("efficiency", width_known
                        ? FixedText(report.box_efficiency * 100.0, 1) +
                              " % by bounding boxes (sum of the pieces' box areas / width x used length" + overlap + ")"
                        : "unknown without a fabric width");
  row("placements",
      std::to_string(report.placements.size()) + " (" + std::to_string(report.LostCount()) + " in neither host file)");
  row("garments", std::to_string(report.garments) + " (" + kGarmentDefinition + ")");
  if (report.garments != 0) row("per garment", LengthPerGarmentText(report) + " of used length");
  const bool plies = !cutting.Default();
  if (plies) row("plies", PliesText(report, cutting));
  std::vector<std::vector<std::string>> sizes = {{"size", "placed", "garments", "host model"}};
  if (plies) sizes[0].insert(sizes[0].begin() + 3, "cut");
  for (std::size_t i = 0; i < report.sizes.size(); ++i) {
    const SizeReport& size = report.sizes[i];
    const std::size_t garments = report.GarmentsOfSize(i);
    sizes.push_back({size.size, std::to_string(size.placed), std::to_string(garments),
                     size.host_model.empty() ? "-" : size.host_model});
    if (plies) sizes.back().insert(sizes.back().begin() + 3, std::to_string(garments * std::size_t(cutting.plies)));
  }
  const std::string table = AlignedTable(sizes);
  std::size_t start = 0;
  for (std::size_t end = table.find('\n'); end != std::string::npos; end = table.find('\n', start)) {
    row(start == 0 ? "sizes" : "", table.substr(start, end - start));
    start = end + 1;
  }
}

std::string ReportText(const MarkerSheet& report, const Cutting& cutting) {
  std::string out;
  auto row = [&](const char* label, const std::string& value) {
    out += label;
    out.append(12 - std::string(label).size(), ' ');
    out += value + "\n";
  };
  row("marker", report.title + "  (" + report.path + ")");
  if (report.loader.chosen) row("loader", LoaderText(report.loader));
  if (report.status == ReportStatus::Read) AddFigures(report, cutting, row);
  const std::string styles = StylesList(report);
  row("styles", styles.empty() ? "-" : styles);
  row("diagnostics", std::to_string(report.Count(Severity::Error)) + " errors, " +
                         std::to_string(report.Count(Severity::Warning)) + " warnings");
  out += DiagnosticLines(report.diagnostics);
  return out;
}

}  // namespace

std::string LoaderText(const LoaderReport& loader) {
  if (loader.plugin_path.empty()) return "built-in (.mdl model files)";
  if (loader.name.empty() && loader.version.empty()) return "plug-in " + loader.plugin_path;
  return "plug-in " + loader.name + " " + loader.version + "  (" + loader.plugin_path + ")";
}

std::string LengthPerGarmentText(const MarkerSheet& report) {
  const double mm = report.LengthPerGarmentMm();
  return FixedText(mm, 1) + " mm = " + FixedText(Metres(mm), 3) + " m = " + FixedText(Yards(mm), 3) + " yd";
}

std::string PliesText(const MarkerSheet& report, const Cutting& cutting) {
  const double mm = FabricNeededMm(report, cutting);
  const std::string garments = std::to_string(report.garments * std::size_t(cutting.plies));
  return std::to_string(cutting.plies) + " x (" + FixedText(report.used_length_mm, 1) + " + " +
         FixedText(static_cast<double>(cutting.end_allowance_um) / 1000.0, 1) +
         " mm end allowance) = " + FixedText(mm, 1) + " mm = " + FixedText(Metres(mm), 3) +
         " m = " + FixedText(Yards(mm), 3) + " yd of fabric, " + garments + " garments";
}

std::string StylesList(const MarkerReport& report) {
  std::string styles;
  for (const std::string& style : report.styles) styles += (styles.empty() ? "" : ", ") + style;
  return styles;
}

namespace {

void AppendDiagnosticLine(std::string& out, const Diagnostic& diagnostic) {
  const ErrorLocation& where = diagnostic.where;
  AppendFileAndLine(out, where);
  out += ": ";
  out += SeverityName(diagnostic.severity);
  out += ": ";
  if (!where.section.empty()) {
    AppendSectionAndRecord(out, where);
    out += ": ";
  }
  if (!where.field.empty()) {
    out += '"';
    out += where.field;
    out += "\": ";
  }
  out += diagnostic.message;
  out += " [";
  out += diagnostic.code;
  out += ']';
}

}  // namespace

std::string DiagnosticLine(const Diagnostic& diagnostic) {
  std::string line;
  AppendDiagnosticLine(line, diagnostic);
  return line;
}

std::string DiagnosticLines(const std::vector<Diagnostic>& diagnostics) {
  std::size_t bytes = 0;
  for (const Diagnostic& diagnostic : diagnostics) {
    const ErrorLocation& where = diagnostic.where;
    bytes += where.file.size() + where.section.size() + where.field.size() + diagnostic.message.size() +
             diagnostic.code.size() + 64;  // the line and record numbers and the words between
  }
  std::string lines;
  lines.reserve(bytes);
  for (const Diagnostic& diagnostic : diagnostics) {
    AppendDiagnosticLine(lines, diagnostic);
    lines += '\n';
  }
  return lines;
}

std::string SummaryTable(const std::vector<MarkerSheet>& reports) {
  std::vector<std::vector<std::string>> table = {{"marker", "sizes", "placements", "warnings", "errors"}};
  for (const MarkerReport& report : reports) {
    table.push_back({report.path, std::to_string(report.sizes.size()), std::to_string(report.placements.size()),
                     std::to_string(report.Count(Severity::Warning)), std::to_string(report.Count(Severity::Error))});
  }
  return AlignedTable(table);
}

std::string InspectText(const std::vector<MarkerSheet>& reports) { return InspectText(reports, Cutting{}); }

std::string InspectText(const std::vector<MarkerSheet>& reports, const Cutting& cutting) {
  std::string out;
  for (std::size_t i = 0; i < reports.size(); ++i) out += (i == 0 ? "" : "\n") + ReportText(reports[i], cutting);
  if (reports.size() > 1) out += "\n" + SummaryTable(reports);
  return out;
}

}  // namespace dorvan_marker
