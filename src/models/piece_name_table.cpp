// SPDX-License-Identifier: MIT
#include "models/piece_name_table.hpp"

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "models/opened_model.hpp"
#include "models/piece_reference.hpp"

namespace dorvan_marker {

void BuildPieceNameTable(MarkerDocument& document) {
  const CSection* models = document.FindSection("VMDL");
  const CSection* articles = document.FindSection("VART");
  const CSection* pieces = document.FindSection("IBA");
  if (models == nullptr || articles == nullptr || pieces == nullptr) return;

  std::unordered_set<std::string_view> resolved;                 // views into the marker's text
  std::unordered_map<std::string_view, std::size_t> unnamed_at;  // in document.UnnamedPieces
  std::vector<bool> named_later;                                 // by UnnamedPieces
  const auto unnamed = [&](UnnamedPiece piece) {
    if (!unnamed_at.try_emplace(piece.iart, document.UnnamedPieces.size()).second) return;  // the first tells
    document.UnnamedPieces.push_back(std::move(piece));
    named_later.push_back(false);
  };
  const PieceColumns columns(document, *pieces, *articles);
  VariantLoad& loader = *document.Loader;
  for (std::size_t j = 0; j < pieces->size(); ++j) {
    const std::string_view iart = columns.iart.Of((*pieces)[j]);
    if (resolved.count(iart) != 0) continue;
    PieceReference reference = ReferencePiece(document, *pieces, j, *articles, columns);
    const std::string_view model = document.ModelNameOfArticle(reference.article_number);
    if (model.empty()) {
      unnamed(UnnamedPiece{j, iart, reference.article_number, {}, {}, 0});
      continue;
    }
    const OpenedModel file(loader, document, model);
    if (!file.Opened()) continue;  // a missing model file is a fault of its own, not of its pieces
    std::string name;
    if (!file.GetPieceName(reference.vgfn.c_str(), reference.piece_number, name)) {
      unnamed(UnnamedPiece{j, iart, reference.article_number, *file.Path(), std::move(reference.vgfn),
                           reference.piece_number});
      continue;
    }
    if (name != iart) document.PieceNames.emplace(std::string(iart), std::move(name));
    resolved.insert(iart);
    if (const auto found = unnamed_at.find(iart); found != unnamed_at.end()) named_later[found->second] = true;
  }
  std::vector<UnnamedPiece>& unnamed_pieces = document.UnnamedPieces;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < unnamed_pieces.size(); ++i) {
    if (!named_later[i]) unnamed_pieces[kept++] = std::move(unnamed_pieces[i]);
  }
  unnamed_pieces.resize(kept);
}

}  // namespace dorvan_marker
