// SPDX-License-Identifier: MIT
// The piece placement file: one line per placed piece, grouped by size.
#include <cstdint>
#include <string>
#include <vector>

#include "hostfiles/placement_geometry.hpp"
#include "hostfiles/printf_file.hpp"
#include "hostfiles/size_groups.hpp"
#include "marker/marker_document.hpp"
#include "platform/c_numbers.hpp"

namespace dorvan_marker {

void MarkerDocument::WritePlacementFile(const char* marker_path, const char* output_path) {
  PlacementTable table = ResolvePlacements();
  WritePlacementFile(marker_path, output_path, table);
}

void MarkerDocument::WritePlacementFile(const char* marker_path, const char* output_path, PlacementTable& table) {
  const SizeGroups groups(Sizes, table);
  const CSection* geo = FindSection("IGEO");
  const CSection* pieces = FindSection("IBA");

  // Every line's geometry is computed before the file is created, so that a marker that
  // is malformed further down writes nothing. They are read in record order, which walks
  // the marker's text once; should one fail, the walk in the order of the lines finds
  // the failure that the writing would have met first.
  std::vector<PlacementGeometry> geometry(table.piece_of.size());
  if (geo != nullptr && pieces != nullptr) {
    const PlacementGeometryReader reader(*this, *geo, *pieces);
    try {
      for (std::uint32_t j = 0; j < geometry.size(); ++j) {
        if (groups.Contains(j)) geometry[j] = reader.Read(j, table.piece_of[j]);
      }
    } catch (const InvalidArgumentError&) {
      for (std::size_t i = 0; i < groups.size(); ++i) {
        for (std::uint32_t j : groups[i]) reader.Read(j, table.piece_of[j]);
      }
      throw;
    }
  }

  CPrintfFile file;
  if (!file.Open(output_path)) throw HostFileError(std::string("cannot create ") + output_path);
  for (std::size_t i = 0; i < Sizes.size(); ++i) {
    for (std::uint32_t j : groups[i]) {
      const PlacementGeometry& g = geometry[j];
      double rotation = 0.0;
      double x_scale = 0.0;
      double y_scale = 0.0;
      PieceScale(table, table.piece_of[j], marker_path, &rotation, &x_scale, &y_scale);
      const double angle = rotation / 6.2831853 * 360.0 + g.rounded_angle;
      file.Printf("%s,%s,%d,%d,%lf,%lf,%lf,%lf,%lf,%d\n", table.PieceOf(j).name, Sizes[i], g.piece_code,
                  g.mirror_code, angle, g.x_origin + g.x_extent * 0.5, g.y_origin + g.y_extent * 0.5, g.x_extent,
                  g.y_extent, 0);
    }
  }
  file.Close();
}

}  // namespace dorvan_marker
