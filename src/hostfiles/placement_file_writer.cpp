// SPDX-License-Identifier: MIT
// The piece placement file: one line per placed piece, grouped by size.
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "hostfiles/placement_geometry.hpp"
#include "hostfiles/printf_file.hpp"
#include "hostfiles/size_groups.hpp"
#include "marker/marker_document.hpp"
#include "platform/c_numbers.hpp"

namespace dorvan_marker {

void MarkerDocument::WritePlacementFile(const char* marker_path, const char* output_path) {
  const std::vector<ResolvedPlacement> placements = ResolvePlacements();
  const std::vector<std::vector<std::size_t>> groups = GroupBySize(Sizes, placements);
  const CSection* geo = FindSection("IGEO");
  const CSection* pieces = FindSection("IBA");

  // Every line's geometry is computed before the file is created, so that a marker that
  // is malformed further down writes nothing.
  std::vector<PlacementGeometry> geometry(placements.size());
  for (const std::vector<std::size_t>& group : groups) {
    for (std::size_t j : group) {
      geometry[j] = ReadPlacementGeometry(*this, *geo, placements[j].record, *pieces, placements[j].piece);
    }
  }

  CPrintfFile file;
  if (!file.Open(output_path)) throw HostFileError(std::string("cannot create ") + output_path);
  for (std::size_t i = 0; i < Sizes.size(); ++i) {
    for (std::size_t j : groups[i]) {
      const ResolvedPlacement& placement = placements[j];
      const PlacementGeometry& g = geometry[j];
      double rotation = 0.0;
      double x_scale = 0.0;
      double y_scale = 0.0;
      GetPieceRotationScale(*pieces, static_cast<long>(placement.piece), marker_path, *Loader, &rotation, &x_scale,
                            &y_scale);
      const double angle = rotation / 6.2831853 * 360.0 + g.rounded_angle;
      file.Printf("%s,%s,%d,%d,%lf,%lf,%lf,%lf,%lf,%d\n", placement.name, Sizes[i], g.piece_code, g.mirror_code,
                  angle, g.x_origin + g.x_extent * 0.5, g.y_origin + g.y_extent * 0.5, g.x_extent, g.y_extent, 0);
    }
  }
  file.Close();
}

}  // namespace dorvan_marker
