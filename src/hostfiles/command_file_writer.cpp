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

  CPrintfFile file;
  if (!file.Open(output_path)) throw HostFileError(std::string("cannot create ") + output_path);
  for (std::size_t i = 0; i < Sizes.size(); ++i) {
    if (kinds[i] != kBeginsRun) continue;
    file.Printf("=:model\n");
    file.Printf("m:%s\n", model_prefix + Sizes[i]);
    for (std::uint32_t j : groups[i]) {
      file.Printf("p:%s\n", table.PieceOf(j).name);
      file.Printf("i:1\n");
      double rotation = 0.0;
      double x_scale = 0.0;
      double y_scale = 0.0;
      PieceScale(table, table.piece_of[j], marker_path, &rotation, &x_scale, &y_scale);
      file.Printf("xs:%f\n", x_scale);
      file.Printf("ys:%f\n", y_scale);
    }
  }
  file.Printf("=:order\n");
  file.Printf("o:%s\n", Title);
  file.Printf("d:inv-import\n");
  file.Printf("w:%f\n", Width / 10.0 / 2.54);
  file.Printf("8:\n");
  for (std::size_t i = 0; i < Sizes.size(); ++i) {
    if (kinds[i] == kNoPieces) continue;
    if (kinds[i] == kBeginsRun) file.Printf("m:%s\n", model_prefix + Sizes[i]);
    file.Printf("q:%d\n", 1);
    file.Printf("s:%s\n", Sizes[i]);
  }
  file.Close();
}

}  // namespace dorvan_marker
