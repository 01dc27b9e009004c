// SPDX-License-Identifier: MIT
// The model and order command file: one host model per run of sizes with the same pieces.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "hostfiles/printf_file.hpp"
#include "hostfiles/size_groups.hpp"
#include "marker/marker_document.hpp"
#include "marker/normalize_name.hpp"

namespace dorvan_marker {
namespace {

enum SizeKind : unsigned short {
  kBeginsRun = 0,   // a size whose pieces differ from the size before: a model block of its own
  kContinuesRun = 1,// the same pieces, in the same order, as the size before
  kNoPieces = 2,    // nothing placed: no block, no order lines, and the next size begins a run
};

std::vector<SizeKind> ClassifySizes(const SizeGroups& groups, const PlacementTable& table) {
  std::vector<SizeKind> kinds;
  std::span<const std::uint32_t> previous;
  bool after_pieces = false;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const std::span<const std::uint32_t> group = groups[i];
    auto same_pieces = [&] {
      if (!after_pieces || previous.size() != group.size()) return false;
      for (std::size_t k = 0; k < group.size(); ++k) {
        if (table.PieceOf(group[k]).name != table.PieceOf(previous[k]).name) return false;
      }
      return true;
    };
    if (group.empty()) {
      kinds.push_back(kNoPieces);
      after_pieces = false;
    } else {
      kinds.push_back(same_pieces() ? kContinuesRun : kBeginsRun);
      previous = group;
      after_pieces = true;
    }
  }
  return kinds;
}

}  // namespace

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
