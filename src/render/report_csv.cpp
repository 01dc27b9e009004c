// SPDX-License-Identifier: MIT
// The reports as `inspect --csv` prints them.
#include <cmath>
#include <limits>

#include "dorvan_marker/json.hpp"
#include "dorvan_marker/render.hpp"
#include "platform/decimal_text.hpp"
#include "render/csv_field.hpp"
#include "render/report_words.hpp"

namespace dorvan_marker {
namespace {

const char* const kHeader =
    "path,status,title,loader,fabric_width_mm,fabric_width_cm,fabric_width_in,used_length_mm,used_width_mm,"
    "box_efficiency,placements,lost_placements,garments,length_per_garment_mm,length_per_garment_m,"
    "length_per_garment_yd,sizes,styles,errors,warnings,plies,end_allowance_mm,fabric_needed_mm,fabric_needed_m,"
    "fabric_needed_yd,garments_cut";

// As the JSON writes it: the shortest form that reads back the same; empty when unknown.
std::string Number(double value) {
  std::string text;
  if (std::isfinite(value)) AppendShortest(text, value);
  return text;
}

constexpr double unknown_fabric = std::numeric_limits<double>::quiet_NaN();  // an empty field

std::string Row(const MarkerSheet& r, const Cutting& cutting) {
  const bool cut = r.garments != 0;
  const double fabric = r.status == ReportStatus::Read ? FabricNeededMm(r, cutting) : unknown_fabric;
  const double per_garment = r.LengthPerGarmentMm();
  const double unknown = std::numeric_limits<double>::quiet_NaN();  // an empty field
  const double width = r.FabricWidthKnown() ? r.width_mm : unknown;
  const std::vector<std::string> fields = {
      CsvField(r.path),
      StatusName(r.status),
      CsvField(r.title),
      r.loader.chosen ? CsvField(LoaderText(r.loader)) : "",
      Number(width),
      Number(Centimetres(width)),
      Number(Inches(width)),
      Number(r.used_length_mm),
      Number(r.used_width_mm),
      Number(r.FabricWidthKnown() ? r.box_efficiency : unknown),
      std::to_string(r.placements.size()),
      std::to_string(r.LostCount()),
      std::to_string(r.garments),
      cut ? Number(per_garment) : "",
      cut ? Number(Metres(per_garment)) : "",
      cut ? Number(Yards(per_garment)) : "",
      std::to_string(r.sizes.size()),
      CsvField(StylesList(r)),
      std::to_string(r.Count(Severity::Error)),
      std::to_string(r.Count(Severity::Warning)),
      std::to_string(cutting.plies),
      Number(static_cast<double>(cutting.end_allowance_um) / 1000.0),
      Number(fabric),
      Number(Metres(fabric)),
      Number(Yards(fabric)),
      std::to_string(r.garments * std::size_t(cutting.plies)),
  };
  std::string row;
  for (const std::string& field : fields) row += (row.empty() ? "" : ",") + field;
  return row + "\r\n";
}

}  // namespace

std::string InspectCsv(const std::vector<MarkerSheet>& reports) { return InspectCsv(reports, Cutting{}); }

std::string InspectCsv(const std::vector<MarkerSheet>& reports, const Cutting& cutting) {
  std::string csv = std::string(kHeader) + "\r\n";
  for (const MarkerSheet& report : reports) csv += Row(report, cutting);
  return csv;
}

}  // namespace dorvan_marker
