// SPDX-License-Identifier: MIT
// The model and order command file: one host model per run of sizes with the same pieces.
#include <string>
#include <vector>

#include "hostfiles/printf_file.hpp"
#include "hostfiles/size_groups.hpp"
#include "hostfiles/size_runs.hpp"
#include "marker/marker_document.hpp"
#include "marker/normalize_name.hpp"

namespace dorvan_marker {
void MarkerDocument::WriteCommandFile(const char* marker_path, const char* output_path) {
  PlacementTable table = ResolvePlacements();
  WriteCommandFile(marker_path, output_path, table);
}

void MarkerDocument::WriteCommandFile(const char* marker_path, const char* output_path, PlacementTable& table) {
  const SizeGroups groups(Sizes, table);
  const std::vector<SizeKind> kinds = ClassifySizes(groups, table);
  const std::string model_prefix = NormalizeName(Title, code_page_) + "-";
  ScaleGroupedPieces(table, groups, marker_path);

  // One line per model, then four per piece: a piece's lines are printed at once.
  const PrintfFormat model_lines("=:model\nm:%s%s\n");
  const PrintfFormat piece_lines("p:%s\ni:1\nxs:%f\nys:%f\n");
  CPrintfFile file;
  if (!file.Open(output_path)) throw HostFileError(std::string("cannot create ") + output_path);
  for (std::size_t i = 0; i < Sizes.size(); ++i) {
    if (kinds[i] != kBeginsRun) continue;
    file.Print(model_lines, model_prefix, Sizes[i]);
    for (std::uint32_t j : groups[i]) {
      double rotation = 0.0;
      double x_scale = 0.0;
      double y_scale = 0.0;
      PieceScale(table, table.piece_of[j], marker_path, &rotation, &x_scale, &y_scale);
      file.Print(piece_lines, table.NameOf(j), x_scale, y_scale);
    }
  }
  file.Printf("=:order\n");
  file.Printf("o:%s\n", Title);
  file.Printf("d:inv-import\n");
  file.Printf("w:%f\n", Width / 10.0 / 2.54);
  file.Printf("8:\n");
  for (std::size_t i = 0; i < Sizes.size(); ++i) {
    if (kinds[i] == kNoPieces) continue;
    if (kinds[i] == kBeginsRun) file.Printf("m:%s%s\n", model_prefix, Sizes[i]);
    file.Printf("q:%d\n", 1);
    file.Printf("s:%s\n", Sizes[i]);
  }
  file.Close();
}

}  // namespace dorvan_marker
