// SPDX-License-Identifier: MIT
// The names that the model files give the marker's pieces.
#include <string>
#include <string_view>
#include <unordered_set>

#include "marker/marker_document.hpp"
#include "models/piece_reference.hpp"
#include "platform/c_numbers.hpp"

namespace dorvan_marker {

void MarkerDocument::BuildPieceNameTable(const char* marker_path) {
  const CSection* models = FindSection("VMDL");
  const CSection* articles = FindSection("VART");
  const CSection* pieces = FindSection("IBA");
  if (models == nullptr || articles == nullptr || pieces == nullptr) return;

  std::unordered_set<std::string_view> resolved;  // views into the marker's text
  const FieldColumn key = Column(*pieces, "IART");
  for (std::size_t j = 0; j < pieces->size(); ++j) {
    const std::string_view iart = key.Of((*pieces)[j]);
    if (resolved.count(iart) != 0) continue;
    const PieceReference reference = ReferencePiece(*this, *pieces, j, *articles);
    const std::string_view model = ModelNameOfArticle(reference.article_number);
    if (model.empty()) continue;
    const std::string& path = ModelFilePath(marker_path, model);
    if (!Loader->Open(path.c_str())) continue;
    std::string name;
    if (!Loader->GetPieceNameFromMDL(reference.vgfn.c_str(), reference.piece_number, name)) continue;
    if (name != iart) PieceNames.emplace(std::string(iart), std::move(name));
    resolved.insert(iart);
  }
}

}  // namespace dorvan_marker
