// SPDX-License-Identifier: MIT
#include "report_text.hpp"

#include <charconv>

#include "batch.hpp"
#include "dorvan_marker/json.hpp"

namespace cli {

std::string Fixed(double value, int decimals) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return std::string(text, result.ptr);
}

std::string DiagnosticLine(const dorvan_marker::Diagnostic& diagnostic) {
  const dorvan_marker::ErrorLocation& where = diagnostic.where;
  std::string line = where.file;
  if (where.line != 0) line.append(":").append(std::to_string(where.line));
  line += std::string(": ") + dorvan_marker::SeverityName(diagnostic.severity) + ": ";
  if (!where.section.empty()) {
    line += '"' + where.section + '"';
    if (where.record >= 0) line += " record " + std::to_string(where.record + 1);
    line += ": ";
  }
  if (!where.field.empty()) line += '"' + where.field + "\": ";
  return line + diagnostic.message + " [" + diagnostic.code + "]";
}

std::string LoaderText(const dorvan_marker::LoaderReport& loader) {
  if (loader.plugin_path.empty()) return "built-in (.mdl model files)";
  if (loader.name.empty() && loader.version.empty()) return "plug-in " + loader.plugin_path;
  return "plug-in " + loader.name + " " + loader.version + "  (" + loader.plugin_path + ")";
}

std::string LengthPerGarmentText(const dorvan_marker::MarkerSheet& report) {
  const double mm = report.LengthPerGarmentMm();
  return Fixed(mm, 1) + " mm = " + Fixed(mm / 1000.0, 3) + " m = " + Fixed(mm / dorvan_marker::kMillimetresPerYard, 3) +
         " yd";
}

std::string ReportText(const dorvan_marker::MarkerSheet& report) {
  std::string out;
  auto row = [&](const char* label, const std::string& value) {
    out += label;
    out.append(12 - std::string(label).size(), ' ');
    out += value + "\n";
  };
  row("marker", report.title + "  (" + report.path + ")");
  if (report.loader.chosen) row("loader", LoaderText(report.loader));
  if (report.status == dorvan_marker::ReportStatus::Read) {
    const bool width_known = report.FabricWidthKnown();
    row("fabric", width_known ? Fixed(report.width_mm, 1) + " mm = " + Fixed(report.width_mm / 10.0, 1) +
                                    " cm = " + Fixed(report.width_mm / 25.4, 2) + " in wide"
                              : "width unknown (the marker names none)");
    row("used",
        Fixed(report.used_length_mm, 1) + " mm long, " + Fixed(report.used_width_mm, 1) + " mm across the width");
    const std::string overlap = report.Has(dorvan_marker::diagnostic_code::kBoxesOverlap)
                                    ? "; the boxes overlap, so the figure says nothing"
                                    : "";
    row("efficiency", width_known ? Fixed(report.box_efficiency * 100.0, 1) +
                                        " % by bounding boxes (sum of the pieces' box areas / width x used length" +
                                        overlap + ")"
                                  : "unknown without a fabric width");
    row("placements", std::to_string(report.placements.size()) + " (" + std::to_string(report.LostCount()) +
                          " in neither host file)");
    row("garments", std::to_string(report.garments) + " (" + kGarmentDefinition + ")");
    if (report.garments != 0) row("per garment", LengthPerGarmentText(report) + " of used length");
    Table sizes({"size", "placed", "garments", "host model"});
    for (std::size_t i = 0; i < report.sizes.size(); ++i) {
      const dorvan_marker::SizeReport& size = report.sizes[i];
      sizes.AddRow({size.size, std::to_string(size.placed), std::to_string(report.GarmentsOfSize(i)),
                    size.host_model.empty() ? "-" : size.host_model});
    }
    const std::string table = sizes.Render();
    std::size_t start = 0;
    for (std::size_t end = table.find('\n'); end != std::string::npos; end = table.find('\n', start)) {
      row(start == 0 ? "sizes" : "", table.substr(start, end - start));
      start = end + 1;
    }
  }
  std::string styles;
  for (const std::string& style : report.styles) styles += (styles.empty() ? "" : ", ") + style;
  row("styles", styles.empty() ? "-" : styles);
  row("diagnostics", std::to_string(report.Count(dorvan_marker::Severity::Error)) + " errors, " +
                         std::to_string(report.Count(dorvan_marker::Severity::Warning)) + " warnings");
  for (const dorvan_marker::Diagnostic& diagnostic : report.diagnostics) out += DiagnosticLine(diagnostic) + "\n";
  return out;
}

}  // namespace cli
