// SPDX-License-Identifier: MIT
// The model and order command file: one host model per run of sizes with the same pieces.
#include <string>
#include <vector>

#include "hostfiles/command_file_writer.hpp"
#include "hostfiles/printf_file.hpp"
#include "hostfiles/size_runs.hpp"

namespace dorvan_marker {

void WriteCommandFile(const MarkerDocument& document, HostPlacements& placements, const WritableFile& output) {
  const CStringArray& sizes = document.Sizes;
  const std::vector<SizeKind> kinds = ClassifySizes(placements.groups, placements.table);
  // The models are named after the title normalised once more; the order names it as it is.
  const std::vector<std::string> models = HostModelNames(document, kinds);

  const PrintfFormat<std::string_view, double, double> piece_lines("p:%s\ni:1\nxs:%f\nys:%f\n");
  CPrintfFile file(output);
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    if (kinds[i] != kBeginsRun) continue;
    file.Printf("=:model\nm:%s\n", models[i]);
    for (const std::uint32_t j : placements.groups[i]) {
      const PieceScale scale = placements.scales.Of(placements.table.piece_of[j]);
      file.Printf(piece_lines, placements.table.NameOf(j), scale.x_percent, scale.y_percent);
    }
  }
  file.Printf("=:order\no:%s\nd:inv-import\nw:%f\n8:\n", document.Title, document.Width / 10.0 / 2.54);
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    if (kinds[i] == kNoPieces) continue;
    if (kinds[i] == kBeginsRun) file.Printf("m:%s\n", models[i]);
    file.Printf("q:%d\ns:%s\n", 1, sizes[i]);
  }
  file.Finish();
}

}  // namespace dorvan_marker
