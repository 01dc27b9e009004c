// SPDX-License-Identifier: MIT
#include "models/piece_name_table.hpp"

#include <string>
#include <string_view>
#include <unordered_set>

#include "models/opened_model.hpp"
#include "models/piece_reference.hpp"

namespace dorvan_marker {

void BuildPieceNameTable(MarkerDocument& document) {
  const CSection* models = document.FindSection("VMDL");
  const CSection* articles = document.FindSection("VART");
  const CSection* pieces = document.FindSection("IBA");
  if (models == nullptr || articles == nullptr || pieces == nullptr) return;

  std::unordered_set<std::string_view> resolved;  // views into the marker's text
  const FieldColumn key = document.Column(*pieces, "IART");
  VariantLoad& loader = *document.Loader;
  for (std::size_t j = 0; j < pieces->size(); ++j) {
    const std::string_view iart = key.Of((*pieces)[j]);
    if (resolved.count(iart) != 0) continue;
    const PieceReference reference = ReferencePiece(document, *pieces, j, *articles);
    const std::string_view model = document.ModelNameOfArticle(reference.article_number);
    if (model.empty()) continue;
    const OpenedModel file(loader, document, model);
    if (!file.Opened()) continue;
    std::string name;
    if (!file.GetPieceName(reference.vgfn.c_str(), reference.piece_number, name)) continue;
    if (name != iart) document.PieceNames.emplace(std::string(iart), std::move(name));
    resolved.insert(iart);
  }
}

}  // namespace dorvan_marker
