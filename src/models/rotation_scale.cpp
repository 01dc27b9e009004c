// SPDX-License-Identifier: MIT
#include "models/rotation_scale.hpp"

#include <string>

#include "marker/article_kind.hpp"
#include "models/opened_model.hpp"
#include "models/piece_reference.hpp"

namespace dorvan_marker {

void GetPieceRotationScale(const MarkerDocument& document, const CSection& pieces, long index, VariantLoad& loader,
                           double* rotation, double* x_percent, double* y_percent) {
  const CSection* articles = document.FindSection("VART");
  static const CSection kNoArticles;
  const CSection& known = articles != nullptr ? *articles : kNoArticles;
  GetPieceRotationScale(document, pieces, known, PieceColumns(document, pieces, known), index, loader, rotation,
                        x_percent, y_percent);
}

void GetPieceRotationScale(const MarkerDocument& document, const CSection& pieces, const CSection& articles,
                           const PieceColumns& columns, long index, VariantLoad& loader, double* rotation,
                           double* x_percent, double* y_percent) {
  *rotation = 0.0;
  double x_factor = 1.0;
  double y_factor = 1.0;
  if (index < 0 || static_cast<std::size_t>(index) >= pieces.size()) {
    document.Fail("IBA", index, nullptr, {},
                  "piece record " + std::to_string(static_cast<long long>(index) + 1) + " is outside the " +
                      std::to_string(pieces.size()) + " piece records");
  }
  const auto piece = static_cast<std::size_t>(index);
  const PieceReference reference = ReferencePiece(document, pieces, piece, articles, columns);

  if (IsModelKind(reference.vext)) {
    // A failed open is answered by the query itself.
    const OpenedModel model(loader, document, document.ModelNameOfArticle(reference.article_number));
    if (!model.GetRotationScale(reference.vgfn.c_str(), reference.piece_number, rotation, &x_factor, &y_factor)) {
      *rotation = 0.0;
    }
  } else {
    GetPieceRotationScaleByName(document, columns.iart.Of(pieces[piece]), reference.vgfn, loader, rotation, &x_factor,
                                &y_factor);
  }
  if (x_factor != 0.0) *x_percent = (1.0 / x_factor - 1.0) * 100.0;
  if (y_factor != 0.0) *y_percent = (1.0 / y_factor - 1.0) * 100.0;
}

void GetPieceRotationScaleByName(const MarkerDocument& document, std::string_view iart, std::string_view vgfn,
                                 VariantLoad& loader, double* rotation, double* x_factor, double* y_factor) {
  if (iart.empty()) return;
  const OpenedModel model(loader, document, vgfn);
  if (!model.GetRotationScale(std::string(vgfn).c_str(), std::string(iart).c_str(), rotation, x_factor, y_factor)) {
    *rotation = 0.0;
  }
}

}  // namespace dorvan_marker
