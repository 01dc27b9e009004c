// SPDX-License-Identifier: MIT
// The piece placement file: one line per placed piece, grouped by size.
#include <algorithm>
#include <string>
#include <vector>

#include "hostfiles/placement_file_writer.hpp"
#include "hostfiles/placement_geometry.hpp"
#include "hostfiles/printf_file.hpp"

namespace dorvan_marker {
namespace {

// The most geometry read ahead at once: all that a marker of 20 MB needs; a larger one
// takes a few passes instead of a second copy of itself.
constexpr std::size_t kWindowBytes = 8u << 20;

// The geometry of the file's lines [first, first + window.size()), read in the marker's
// record order: the file lists the placements size by size, all over the marker, while
// reading them in record order walks its text once, front to back.
void ReadWindow(const PlacementGeometryReader& reader, const HostPlacements& placements, std::size_t first,
                std::vector<PlacementGeometry>& window) {
  const SizeGroups& groups = placements.groups;
  GroupPlaces lines(groups);
  const std::vector<std::uint32_t>& piece_of = placements.table.piece_of;
  try {
    for (std::size_t j = 0; j < piece_of.size(); ++j) {
      if (!groups.ReachesHostFiles(piece_of[j])) continue;
      const std::size_t line = lines.Next(piece_of[j]);
      if (line >= first && line - first < window.size())
        window[line - first] = reader.Read(j, placements.table.pieces[piece_of[j]].code);
    }
  } catch (const InvalidArgumentError&) {
    // Of several placements that cannot be read, the one reported is the one whose line
    // comes first, as if the file had been read in its own order.
    for (std::size_t i = 0; i < groups.size(); ++i) {
      for (const std::uint32_t j : groups[i]) reader.Read(j, 0);
    }
    throw;
  }
}

}  // namespace

void WritePlacementFile(const MarkerDocument& document, HostPlacements& placements, const WritableFile& output) {
  const CStringArray& sizes = document.Sizes;
  static const CSection kNone;  // without placements every group is empty
  const CSection* geo = document.FindSection("IGEO");
  const PlacementGeometryReader reader(document, geo != nullptr ? *geo : kNone);
  std::vector<PlacementGeometry> window(std::min(placements.groups.Count(), kWindowBytes / sizeof(PlacementGeometry)));

  const PrintfFormat<std::string_view, std::string_view, int, int, double, double, double, double, double, int>
      line_format("%s,%s,%d,%d,%lf,%lf,%lf,%lf,%lf,%d\n");
  CPrintfFile file(output);
  std::size_t line = 0;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    for (const std::uint32_t j : placements.groups[i]) {
      if (line % window.size() == 0) ReadWindow(reader, placements, line, window);
      const PlacementGeometry& g = window[line++ % window.size()];
      const std::uint32_t piece = placements.table.piece_of[j];
      // The model file's rotation is asked line by line: a loader that does not repeat its
      // answers sees the queries in the order of the lines.
      const double angle = PlacementAngle(g.rounded_angle, placements.scales.Of(piece).rotation);
      file.Printf(line_format, placements.table.NameOf(j), sizes[i], g.piece_code, g.mirror_code, angle,
                  g.x_origin + g.x_extent * 0.5, g.y_origin + g.y_extent * 0.5, g.x_extent, g.y_extent, 0);
    }
  }
  file.Finish();
  if (window.size() == line) placements.written_geometry = std::move(window);
}

}  // namespace dorvan_marker
