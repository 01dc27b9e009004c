// SPDX-License-Identifier: MIT
// The model and order command file: one host model per run of sizes with the same pieces.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "hostfiles/printf_file.hpp"
#include "hostfiles/size_groups.hpp"
#include "hostfiles/size_runs.hpp"
#include "marker/marker_document.hpp"
#include "marker/normalize_name.hpp"

namespace dorvan_marker {
namespace {

// The command-file lines of pieces, formatted once per distinct name and scale.
class PieceBlocks {
 public:
  explicit PieceBlocks(std::size_t pieces) : block_of_piece_(pieces, kUnknown) {}

  // The lines of piece record p, made by format(block) when its name and scale are new.
  template <typename Format>
  std::string_view Of(std::uint32_t p, const PlacementTable& table, Format format) {
    if (block_of_piece_[p] == kUnknown) {
      const PlacementTable::Piece& piece = table.pieces[p];
      const std::uint64_t key = std::uint64_t{piece.name} << 32 | piece.scale;
      auto found = block_of_key_.find(key);
      if (found == block_of_key_.end()) {
        const std::size_t start = text_.size();
        format(text_);
        starts_.push_back(start);
        found = block_of_key_.emplace(key, static_cast<std::uint32_t>(starts_.size() - 1)).first;
      }
      block_of_piece_[p] = found->second;
    }
    const std::uint32_t block = block_of_piece_[p];
    const std::size_t end = block + 1 < starts_.size() ? starts_[block + 1] : text_.size();
    return std::string_view(text_).substr(starts_[block], end - starts_[block]);
  }

 private:
  static constexpr std::uint32_t kUnknown = UINT32_MAX;
  std::vector<std::uint32_t> block_of_piece_;
  std::unordered_map<std::uint64_t, std::uint32_t> block_of_key_;
  std::vector<std::size_t> starts_;  // block k is text_[starts_[k], starts_[k + 1])
  std::string text_;
};

}  // namespace

void MarkerDocument::WriteCommandFile(const char* marker_path, const char* output_path) {
  PlacementTable table = ResolvePlacements();
  WriteCommandFile(marker_path, output_path, table);
}

void MarkerDocument::WriteCommandFile(const char* marker_path, const char* output_path, PlacementTable& table) {
  WriteCommandFile(marker_path, output_path, table, SizeGroups(Sizes, table));
}

void MarkerDocument::WriteCommandFile(const char* marker_path, const char* output_path, PlacementTable& table,
                                      const SizeGroups& groups) {
  const std::vector<SizeKind> kinds = ClassifySizes(groups, table);
  const std::string model_prefix = NormalizeName(Title, code_page_) + "-";
  ScaleGroupedPieces(table, groups, marker_path);

  // One line per model, then four per piece: a piece's lines are printed at once. When
  // the loader repeats its answers, a piece's four lines depend on nothing but its name
  // and scale, and pieces of many sizes share both: each distinct block is formatted
  // once and copied where it recurs.
  const PrintfFormat model_lines("=:model\nm:%s%s\n");
  const PrintfFormat piece_lines("p:%s\ni:1\nxs:%f\nys:%f\n");
  PieceBlocks blocks(table.pieces.size());
  CPrintfFile file;
  if (!file.Open(output_path)) throw HostFileError(std::string("cannot create ") + output_path);
  for (std::size_t i = 0; i < Sizes.size(); ++i) {
    if (kinds[i] != kBeginsRun) continue;
    file.Print(model_lines, model_prefix, Sizes[i]);
    for (std::uint32_t j : groups[i]) {
      const std::uint32_t p = table.piece_of[j];
      double rotation = 0.0;
      double x_scale = 0.0;
      double y_scale = 0.0;
      if (table.pieces[p].scale == PlacementTable::kNone) {  // a loader that is asked every time
        PieceScale(table, p, marker_path, &rotation, &x_scale, &y_scale);
        file.Print(piece_lines, table.NameOf(j), x_scale, y_scale);
        continue;
      }
      file.PutFormatted(blocks.Of(p, table, [&](std::string& block) {
        PieceScale(table, p, marker_path, &rotation, &x_scale, &y_scale);
        AppendPrintf(block, piece_lines.Text(), {table.NameOf(j), x_scale, y_scale}, true);
      }));
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
