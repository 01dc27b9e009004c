// SPDX-License-Identifier: MIT
#include "report_csv.hpp"

#include <charconv>
#include <cmath>
#include <limits>

#include "dorvan_marker/json.hpp"
#include "report_text.hpp"

namespace cli {
namespace {

const char* const kHeader =
    "path,status,title,loader,fabric_width_mm,fabric_width_cm,fabric_width_in,used_length_mm,used_width_mm,"
    "box_efficiency,placements,lost_placements,garments,length_per_garment_mm,length_per_garment_m,"
    "length_per_garment_yd,sizes,styles,errors,warnings";

// A field quoted only when it holds a comma, a quote or a line end.
std::string Field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? "\"\"" : std::string(1, c);
  return quoted + "\"";
}

// As the JSON writes it: the shortest form that reads back the same; empty when unknown.
std::string Number(double value) {
  if (!std::isfinite(value)) return {};
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string Row(const dorvan_marker::MarkerSheet& r) {
  std::string styles;
  for (const std::string& style : r.styles) styles += (styles.empty() ? "" : ", ") + style;
  const bool cut = r.garments != 0;
  const double per_garment = r.LengthPerGarmentMm();
  const double unknown = std::numeric_limits<double>::quiet_NaN();  // an empty field
  const double width = r.FabricWidthKnown() ? r.width_mm : unknown;
  const std::vector<std::string> fields = {
      Field(r.path),
      dorvan_marker::StatusName(r.status),
      Field(r.title),
      r.loader.chosen ? Field(LoaderText(r.loader)) : "",
      Number(width),
      Number(width / 10.0),
      Number(width / 25.4),
      Number(r.used_length_mm),
      Number(r.used_width_mm),
      Number(r.FabricWidthKnown() ? r.box_efficiency : unknown),
      std::to_string(r.placements.size()),
      std::to_string(r.LostCount()),
      std::to_string(r.garments),
      cut ? Number(per_garment) : "",
      cut ? Number(per_garment / 1000.0) : "",
      cut ? Number(per_garment / dorvan_marker::kMillimetresPerYard) : "",
      std::to_string(r.sizes.size()),
      Field(styles),
      std::to_string(r.Count(dorvan_marker::Severity::Error)),
      std::to_string(r.Count(dorvan_marker::Severity::Warning)),
  };
  std::string row;
  for (const std::string& field : fields) row += (row.empty() ? "" : ",") + field;
  return row + "\r\n";
}

}  // namespace

std::string InspectCsv(const std::vector<dorvan_marker::MarkerSheet>& reports) {
  std::string csv = std::string(kHeader) + "\r\n";
  for (const dorvan_marker::MarkerSheet& report : reports) csv += Row(report);
  return csv;
}

}  // namespace cli
