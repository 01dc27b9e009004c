// SPDX-License-Identifier: MIT
// The model and order command file: one host model per run of sizes with the same pieces.
#include <string>
#include <vector>

#include "hostfiles/host_placements.hpp"
#include "hostfiles/printf_file.hpp"
#include "hostfiles/size_runs.hpp"
#include "marker/normalize_name.hpp"

namespace dorvan_marker {

void WriteCommandFile(const MarkerDocument& document, HostPlacements& placements, const std::string& output_path) {
  const CStringArray& sizes = document.Sizes;
  const std::vector<SizeKind> kinds = ClassifySizes(placements.groups, placements.table);
  // The title is normalised once more for the model names; the order names it as it is.
  const std::string model_prefix = NormalizeName(document.Title, document.Codes()) + "-";

  const PrintfFormat piece_lines("p:%s\ni:1\nxs:%f\nys:%f\n");
  CPrintfFile file;
  if (!file.Open(output_path)) throw HostFileError("cannot create " + output_path);
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    if (kinds[i] != kBeginsRun) continue;
    file.Printf("=:model\nm:%s%s\n", model_prefix, sizes[i]);
    for (const std::uint32_t j : placements.groups[i]) {
      const PieceScale scale = placements.scales.Of(placements.table.piece_of[j]);
      file.Printf(piece_lines, placements.table.NameOf(j), scale.x_percent, scale.y_percent);
    }
  }
  file.Printf("=:order\no:%s\nd:inv-import\nw:%f\n8:\n", document.Title, document.Width / 10.0 / 2.54);
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    if (kinds[i] == kNoPieces) continue;
    if (kinds[i] == kBeginsRun) file.Printf("m:%s%s\n", model_prefix, sizes[i]);
    file.Printf("q:%d\ns:%s\n", 1, sizes[i]);
  }
  file.Close();
}

}  // namespace dorvan_marker
