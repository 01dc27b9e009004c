// SPDX-License-Identifier: MIT
#include "report/placement_report.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "hostfiles/placement_geometry.hpp"
#include "hostfiles/size_runs.hpp"

namespace dorvan_marker {
namespace {

constexpr std::size_t kSizesNamedInMessage = 12;

// One decimal, with a point whatever the locale.
std::string OneDecimal(double value) {
  // Tenths as a whole number when value * 10 lies clearly off a tie: its rounding error
  // (below 2^-22 under 2^31) cannot then carry it across one, so the digits are those of
  // the exact value. A report of a large marker formats several numbers a placement, and
  // this is far cheaper than the general conversion, which takes the rest.
  const double tenths = value * 10.0;
  if (tenths >= 0.0 && tenths < 2147483648.0 && std::fabs(tenths - std::floor(tenths) - 0.5) > 1e-6) {
    const long long whole = std::llround(tenths);
    char text[24];
    char* end = std::to_chars(text, text + sizeof text - 2, whole / 10).ptr;
    *end++ = '.';
    *end++ = static_cast<char>('0' + whole % 10);
    return std::string(text, end);
  }
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
  return std::string(text, result.ptr);
}

std::string SizeListText(const CStringArray& sizes) {
  std::string text;
  for (std::size_t i = 0; i < sizes.size() && i < kSizesNamedInMessage; ++i) {
    text += (i == 0 ? "" : ", ") + Quoted(sizes[i]);
  }
  if (sizes.size() > kSizesNamedInMessage) text += ", ...";
  return text.empty() ? "none" : text;
}

void FillSizes(const MarkerDocument& document, const HostPlacements& placements, MarkerReport& report) {
  const SizeGroups& groups = placements.groups;
  const std::vector<std::string> models = HostModelNames(document, ClassifySizes(groups, placements.table));
  for (std::size_t i = 0; i < document.Sizes.size(); ++i) {
    SizeReport size;
    size.size = document.Sizes[i];
    size.placed = groups[i].size();
    size.host_model = models[i];
    report.sizes.push_back(std::move(size));
  }
}

PlacedPiece Place(const CSection& geo, const PlacementGeometryReader& reader, HostPlacements& placements,
                  std::size_t record, bool lost) {
  const PlacementTable& table = placements.table;
  const std::size_t piece_record = table.piece_of[record];
  PlacedPiece piece;
  piece.record = record;
  piece.line = geo[record].Line();
  piece.piece_record = piece_record;
  piece.name = table.NameOfPiece(piece_record);
  piece.size = table.SizeOfPiece(piece_record);
  piece.lost = lost;
  PlacementGeometry g;
  if (lost) {
    // The writers never read a lost placement's angle, so one that cannot be rounded is
    // no fault here; its box is still drawn.
    try {
      g = reader.Read(record, table.pieces[piece_record].code);
    } catch (const InvalidArgumentError&) {
      g = PlacementGeometry();
    }
  } else {
    g = reader.Read(record, table.pieces[piece_record].code);
    piece.angle = PlacementAngle(g.rounded_angle, placements.scales.Of(piece_record).rotation);
  }
  piece.mirror_code = g.mirror_code;
  piece.mirrored = g.mirror_code == 1 || g.mirror_code == 2;
  piece.quarter_turn = g.quarter_turn;
  piece.x_origin = g.x_origin;
  piece.y_origin = g.y_origin;
  piece.x_extent = g.x_extent;
  piece.y_extent = g.y_extent;
  return piece;
}

// The used fabric and the box efficiency. Without a width named in the marker the
// efficiency would be a figure of the assumed width, so there is none; above 100 % the
// boxes overlap and the figure says nothing of the fabric used, which a warning tells.
void Measure(const MarkerDocument& document, MarkerReport& report, DiagnosticList& diagnostics) {
  double area = 0.0;
  for (const PlacedPiece& piece : report.placements) {
    report.used_length_mm = std::max(report.used_length_mm, piece.x_origin + piece.x_extent);
    report.used_width_mm = std::max(report.used_width_mm, piece.y_origin + piece.y_extent);
    area += piece.x_extent * piece.y_extent;
  }
  const double fabric = report.width_mm * report.used_length_mm;
  report.box_efficiency = document.WidthGiven && fabric > 0.0 ? area / fabric : 0.0;
  if (report.box_efficiency > 1.0) {
    diagnostics.Add(Severity::Warning, diagnostic_code::kBoxesOverlap, diagnostics.HeaderLine("IGEO"), "IGEO", -1, {},
                    "the boxes of the placed pieces overlap: their areas add up to " +
                        OneDecimal(report.box_efficiency * 100.0) +
                        " % of the fabric used, so the box efficiency says nothing of it");
  }
}

// The import writes an assumed width when the marker names none; the report says which,
// on the "LEZ" header when the marker has one without records.
void CheckFabricWidth(const MarkerDocument& document, DiagnosticList& diagnostics) {
  if (document.WidthGiven) return;
  diagnostics.Add(
      Severity::Warning, diagnostic_code::kFabricWidthMissing, diagnostics.HeaderLine("LEZ"), "LEZ", -1, "LLEZ",
      "the marker names no fabric width (no \"LEZ\" record): the host files are written with a width of " +
          std::to_string(static_cast<long long>(document.Width)) + " mm, and the width and efficiency are unknown");
}

void CheckPiece(const PlacedPiece& piece, const MarkerDocument& document, DiagnosticList& diagnostics) {
  // Named only in a diagnostic: most pieces of a large marker have none.
  const auto which = [&] { return "piece " + Quoted(piece.name) + " (size " + Quoted(piece.size) + ")"; };
  if (piece.lost) {
    diagnostics.Add(Severity::Error, diagnostic_code::kPlacementLost, piece.line, "IGEO",
                    static_cast<long>(piece.record), "INUM",
                    which() + " is written to neither host file: its size is not among the marker's sizes (" +
                        SizeListText(document.Sizes) + ")");
  }
  const double top = piece.y_origin + piece.y_extent;
  const bool negative = piece.x_origin < 0.0 || piece.y_origin < 0.0;
  if (negative || top > document.Width + 1e-6) {
    diagnostics.Add(Severity::Warning, diagnostic_code::kPieceOutsideFabric, piece.line, "IGEO",
                    static_cast<long>(piece.record), piece.x_origin < 0.0 && piece.y_origin >= 0.0 ? "IXOR" : "IYOR",
                    which() + " lies outside the fabric: its box runs from (" + OneDecimal(piece.x_origin) + ", " +
                        OneDecimal(piece.y_origin) + ") to (" + OneDecimal(piece.x_origin + piece.x_extent) + ", " +
                        OneDecimal(top) + ") mm on a width of " + OneDecimal(document.Width) + " mm");
  }
}

}  // namespace

void ReportPlacements(const MarkerDocument& document, HostPlacements& placements, MarkerReport& report,
                      DiagnosticList& diagnostics) {
  FillSizes(document, placements, report);
  CheckFabricWidth(document, diagnostics);

  const std::size_t count = placements.table.piece_of.size();
  const CSection* geo = document.FindSection("IGEO");
  if (geo == nullptr || count == 0) return;
  const PlacementGeometryReader reader(document, *geo);
  report.placements.reserve(count);
  for (std::size_t j = 0; j < count; ++j) {
    const bool lost = !placements.groups.ReachesHostFiles(placements.table.piece_of[j]);
    report.placements.push_back(Place(*geo, reader, placements, j, lost));
  }
  Measure(document, report, diagnostics);
  for (const PlacedPiece& piece : report.placements) CheckPiece(piece, document, diagnostics);
}

}  // namespace dorvan_marker
