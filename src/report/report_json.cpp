// SPDX-License-Identifier: MIT
// The document of `inspect --json`: the one text the command line prints and the C face
// hands out.
#include "dorvan_marker/json.hpp"
#include "report/json_writer.hpp"
#include "report/text_encoding.hpp"

namespace dorvan_marker {
namespace {

void TextOrNull(JsonWriter& json, const std::string& text, ByteText how) {
  if (text.empty()) {
    json.Null();
  } else {
    json.String(ToUtf8(text, how));
  }
}

void WriteDiagnostic(JsonWriter& json, const Diagnostic& diagnostic, ByteText how) {
  const ErrorLocation& where = diagnostic.where;
  json.BeginObject();
  json.Key("severity").String(SeverityName(diagnostic.severity));
  json.Key("code").String(diagnostic.code);
  json.Key("line");
  if (where.line == 0) {
    json.Null();
  } else {
    json.Integer(static_cast<long long>(where.line));
  }
  json.Key("section");
  TextOrNull(json, where.section, how);
  json.Key("record");
  if (where.record < 0) {
    json.Null();
  } else {
    json.Integer(where.record + 1);
  }
  json.Key("field");
  TextOrNull(json, where.field, how);
  json.Key("message").String(ToUtf8(diagnostic.message, how));
  if (!diagnostic.model_path.empty()) json.Key("model_file").String(ToUtf8(diagnostic.model_path, how));
  json.EndObject();
}

// The loader, once the road needed one: the library's own, or the plug-in's file with the
// name and version it reported (null when it could not serve).
void WriteLoader(JsonWriter& json, const LoaderReport& loader, ByteText how) {
  json.Key("loader").BeginObject();
  const bool plugin = !loader.plugin_path.empty();
  json.Key("kind").String(plugin ? "plug-in" : "built-in");
  if (plugin) {
    json.Key("path").String(ToUtf8(loader.plugin_path, how));
    json.Key("name");
    TextOrNull(json, loader.name, how);
    json.Key("version");
    TextOrNull(json, loader.version, how);
  }
  json.EndObject();
}

// How many garments the marker cuts, and the used length each takes (null without one).
void WriteGarments(JsonWriter& json, const MarkerSheet& report) {
  json.Key("garments").Integer(static_cast<long long>(report.garments));
  json.Key("length_per_garment");
  if (report.garments == 0) {
    json.Null();
    return;
  }
  const double mm = report.LengthPerGarmentMm();
  json.BeginObject();
  json.Key("mm").Number(mm);
  json.Key("m").Number(Metres(mm));
  json.Key("yd").Number(Yards(mm));
  json.EndObject();
}

// The plies spread, the fabric they take (null for a marker not read) and the garments they cut.
void WriteCutting(JsonWriter& json, const MarkerSheet& report, const Cutting& cutting) {
  json.Key("plies").Integer(cutting.plies);
  json.Key("end_allowance_mm").Number(static_cast<double>(cutting.end_allowance_um) / 1000.0);
  json.Key("fabric_needed_mm");
  if (report.status == ReportStatus::Read) {
    json.Number(FabricNeededMm(report, cutting));
  } else {
    json.Null();
  }
  json.Key("garments_cut").Integer(static_cast<long long>(report.garments) * cutting.plies);
}

void WriteReport(JsonWriter& json, const MarkerSheet& report, const Cutting& cutting, ByteText how) {
  json.BeginObject();
  json.Key("path").String(ToUtf8(report.path, how));
  json.Key("status").String(StatusName(report.status));
  json.Key("title").String(ToUtf8(report.title, how));
  if (report.loader.chosen) WriteLoader(json, report.loader, how);
  const bool width_known = report.FabricWidthKnown();
  json.Key("fabric_width");
  if (width_known) {
    json.BeginObject();
    json.Key("mm").Number(report.width_mm);
    json.Key("cm").Number(Centimetres(report.width_mm));
    json.Key("in").Number(Inches(report.width_mm));
    json.EndObject();
  } else {
    json.Null();
  }
  json.Key("used_length_mm").Number(report.used_length_mm);
  json.Key("used_width_mm").Number(report.used_width_mm);
  json.Key("box_efficiency");
  if (width_known) {
    json.Number(report.box_efficiency);
  } else {
    json.Null();
  }
  json.Key("placements").Integer(static_cast<long long>(report.placements.size()));
  json.Key("lost_placements").Integer(static_cast<long long>(report.LostCount()));
  WriteGarments(json, report);
  WriteCutting(json, report, cutting);
  json.Key("sizes").BeginArray();
  for (std::size_t i = 0; i < report.sizes.size(); ++i) {
    const SizeReport& size = report.sizes[i];
    json.BeginObject();
    json.Key("size").String(ToUtf8(size.size, how));
    json.Key("placed").Integer(static_cast<long long>(size.placed));
    json.Key("host_model");
    TextOrNull(json, size.host_model, how);
    json.Key("garments").Integer(static_cast<long long>(report.GarmentsOfSize(i)));
    json.Key("garments_cut").Integer(static_cast<long long>(report.GarmentsOfSize(i)) * cutting.plies);
    json.EndObject();
  }
  json.EndArray();
  json.Key("styles").BeginArray();
  for (const std::string& style : report.styles) json.String(ToUtf8(style, how));
  json.EndArray();
  json.Key("errors").Integer(static_cast<long long>(report.Count(Severity::Error)));
  json.Key("warnings").Integer(static_cast<long long>(report.Count(Severity::Warning)));
  json.Key("diagnostics").BeginArray();
  for (const Diagnostic& diagnostic : report.diagnostics) WriteDiagnostic(json, diagnostic, how);
  json.EndArray();
  json.EndObject();
}

}  // namespace

const char* SeverityName(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

const char* StatusName(ReportStatus status) { return OutcomeWord(OutcomeOf(status), Task::Inspect); }

std::string InspectJson(const std::vector<MarkerSheet>& reports, const std::string& code_page) {
  return InspectJson(reports, code_page, Cutting{});
}

std::string InspectJson(const std::vector<MarkerSheet>& reports, const std::string& code_page, const Cutting& cutting) {
  JsonWriter json;
  const ByteText how = BeginMarkersDocument(json, "dorvan-marker-inspect", code_page);
  for (const MarkerSheet& report : reports) WriteReport(json, report, cutting, how);
  json.EndArray();
  json.EndObject();
  return json.Text();
}

}  // namespace dorvan_marker
