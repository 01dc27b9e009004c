// SPDX-License-Identifier: MIT
#include "report/placement_report.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "hostfiles/placement_geometry.hpp"
#include "hostfiles/size_runs.hpp"
#include "platform/decimal_text.hpp"

namespace dorvan_marker {
namespace {

constexpr std::size_t kSizesNamedInMessage = 12;

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

// Where each placement lies: as the placement file was written when the import kept its
// geometry, else read from the marker as the writer reads it.
class PlacementSource {
 public:
  PlacementSource(const MarkerDocument& document, const CSection& geo, const HostPlacements& placements)
      : reader_(document, geo), placements_(placements), lines_(placements.groups) {}

  // Valid until the next call.
  const PlacementGeometry& Read(std::size_t record, bool lost) {
    const PlacementTable& table = placements_.table;
    const std::size_t piece_record = table.piece_of[record];
    if (lost) {
      // The writers never read a lost placement's angle, so one that cannot be rounded is
      // no fault here; its box is still drawn.
      try {
        return read_ = reader_.Read(record, table.pieces[piece_record].code);
      } catch (const InvalidArgumentError&) {
        return read_ = PlacementGeometry();
      }
    }
    const std::size_t line = lines_.Next(piece_record);
    if (line < placements_.written_geometry.size()) return placements_.written_geometry[line];
    return read_ = reader_.Read(record, table.pieces[piece_record].code);
  }

 private:
  const PlacementGeometryReader reader_;
  const HostPlacements& placements_;
  GroupPlaces lines_;
  PlacementGeometry read_;  // the last placement read from the marker
};

// A placement that a check speaks of, with where it lies. Most placements of a large
// marker have nothing said of them; only these are worded, once every placement is read.
struct Noted {
  std::size_t record = 0;
  bool lost = false;
  PlacementGeometry geometry;
};

// Whether a placement's box leaves the fabric: below its edge, before its start, or past
// its width.
bool OutsideFabric(const PlacementGeometry& g, double width) {
  return g.x_origin < 0.0 || g.y_origin < 0.0 || g.y_origin + g.y_extent > width + 1e-6;
}

// Adds placement record `record` of geo, lying where g says, to the report's placements,
// made where it stays: a large marker has tens of thousands. What can raise is asked
// first, so that a report that stops keeps the placements read before.
void Place(const CSection& geo, HostPlacements& placements, std::size_t record, bool lost, const PlacementGeometry& g,
           std::vector<PlacedPiece>& placed) {
  const PlacementTable& table = placements.table;
  const std::size_t piece_record = table.piece_of[record];
  const double angle = lost ? 0.0 : PlacementAngle(g.rounded_angle, placements.scales.Of(piece_record).rotation);
  PlacedPiece& piece = placed.emplace_back();
  piece.record = record;
  piece.line = geo[record].Line();
  piece.piece_record = piece_record;
  piece.name = table.NameOfPiece(piece_record);
  piece.size = table.SizeOfPiece(piece_record);
  piece.lost = lost;
  piece.angle = angle;
  piece.mirror_code = g.mirror_code;
  piece.mirrored = g.mirror_code == 1 || g.mirror_code == 2;
  piece.quarter_turn = g.quarter_turn;
  piece.x_origin = g.x_origin;
  piece.y_origin = g.y_origin;
  piece.x_extent = g.x_extent;
  piece.y_extent = g.y_extent;
}

// The sums behind the used fabric and the box efficiency, taken in record order.
struct Measures {
  double used_length = 0.0;
  double used_width = 0.0;
  double area = 0.0;

  void Add(const PlacementGeometry& g) {
    used_length = std::max(used_length, g.x_origin + g.x_extent);
    used_width = std::max(used_width, g.y_origin + g.y_extent);
    area += g.x_extent * g.y_extent;
  }
};

// The used fabric and the box efficiency. Without a width named in the marker the
// efficiency would be a figure of the assumed width, so there is none; above 100 % the
// boxes overlap and the figure says nothing of the fabric used, which a warning tells.
void Measure(const MarkerDocument& document, const Measures& measures, MarkerReport& report,
             DiagnosticList& diagnostics) {
  report.used_length_mm = measures.used_length;
  report.used_width_mm = measures.used_width;
  const double fabric = report.width_mm * report.used_length_mm;
  report.box_efficiency = document.WidthGiven && fabric > 0.0 ? measures.area / fabric : 0.0;
  if (report.box_efficiency > 1.0) {
    diagnostics.Add(Severity::Warning, diagnostic_code::kBoxesOverlap, diagnostics.HeaderLine("IGEO"), "IGEO", -1, {},
                    "the boxes of the placed pieces overlap: their areas add up to " +
                        FixedText(report.box_efficiency * 100.0, 1) +
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

// "piece "NAME" (size "SIZE")" and what is said of it, in one text.
std::string AboutPiece(const PlacementTable& table, std::size_t piece_record, std::string_view said) {
  std::string text;
  text.reserve(160);
  text += "piece ";
  AppendQuoted(text, table.NameOfPiece(piece_record));
  text += " (size ";
  AppendQuoted(text, table.SizeOfPiece(piece_record));
  text += ')';
  text += said;
  return text;
}

void CheckPiece(const Noted& noted, const CSection& geo, const PlacementTable& table, const MarkerDocument& document,
                DiagnosticList& diagnostics) {
  const std::size_t piece_record = table.piece_of[noted.record];
  const std::size_t line = geo[noted.record].Line();
  const auto position = static_cast<long>(noted.record);
  if (noted.lost) {
    diagnostics.Add(Severity::Error, diagnostic_code::kPlacementLost, line, "IGEO", position, "INUM",
                    AboutPiece(table, piece_record,
                               " is written to neither host file: its size is not among the marker's sizes (") +
                        SizeListText(document.Sizes) + ")");
  }
  const PlacementGeometry& g = noted.geometry;
  if (OutsideFabric(g, document.Width)) {
    const double top = g.y_origin + g.y_extent;
    std::string message = AboutPiece(table, piece_record, " lies outside the fabric: its box runs from (");
    AppendOneDecimal(message, g.x_origin);
    message += ", ";
    AppendOneDecimal(message, g.y_origin);
    message += ") to (";
    AppendOneDecimal(message, g.x_origin + g.x_extent);
    message += ", ";
    AppendOneDecimal(message, top);
    message += ") mm on a width of ";
    AppendOneDecimal(message, document.Width);
    message += " mm";
    diagnostics.Add(Severity::Warning, diagnostic_code::kPieceOutsideFabric, line, "IGEO", position,
                    g.x_origin < 0.0 && g.y_origin >= 0.0 ? "IXOR" : "IYOR", std::move(message));
  }
}

}  // namespace

void ReportPlacements(const MarkerDocument& document, HostPlacements& placements, MarkerReport& report,
                      DiagnosticList& diagnostics, PlacementList list) {
  FillSizes(document, placements, report);
  CheckFabricWidth(document, diagnostics);

  const std::size_t count = placements.table.piece_of.size();
  const CSection* geo = document.FindSection("IGEO");
  if (geo == nullptr || count == 0) return;
  PlacementSource source(document, *geo, placements);
  Measures measures;
  std::vector<Noted> noted;
  if (list == PlacementList::kKept) report.placements.reserve(count);
  for (std::size_t j = 0; j < count; ++j) {
    const bool lost = !placements.groups.ReachesHostFiles(placements.table.piece_of[j]);
    const PlacementGeometry& g = source.Read(j, lost);
    if (list == PlacementList::kKept) Place(*geo, placements, j, lost, g, report.placements);
    measures.Add(g);
    if (lost || OutsideFabric(g, document.Width)) noted.push_back({j, lost, g});
  }
  Measure(document, measures, report, diagnostics);
  diagnostics.Expect(noted.size());
  for (const Noted& n : noted) CheckPiece(n, *geo, placements.table, document, diagnostics);
}

}  // namespace dorvan_marker
