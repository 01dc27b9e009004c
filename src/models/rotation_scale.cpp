// SPDX-License-Identifier: MIT
#include "models/rotation_scale.hpp"

#include <string>

#include "marker/article_kind.hpp"
#include "models/opened_model.hpp"
#include "models/piece_reference.hpp"

namespace dorvan_marker {

void GetPieceRotationScale(const MarkerDocument& document, const CSection& pieces, long index, VariantLoad& loader,
                           double* rotation, double* x_percent, double* y_percent) {
  *rotation = 0.0;
  double x_factor = 1.0;
  double y_factor = 1.0;
  if (index < 0 || static_cast<std::size_t>(index) >= pieces.size()) {
    document.Fail("IBA", index, nullptr, {},
                  "piece record " + std::to_string(static_cast<long long>(index) + 1) + " is outside the " +
                      std::to_string(pieces.size()) + " piece records");
  }
  const CSection* articles = document.FindSection("VART");
  static const CSection kNoArticles;
  const PieceReference reference =
      ReferencePiece(document, pieces, static_cast<std::size_t>(index), articles ? *articles : kNoArticles);

  if (IsModelKind(reference.vext)) {
    // A failed open is answered by the query itself.
    const OpenedModel model(loader, document, document.ModelNameOfArticle(reference.article_number));
    if (!model.GetRotationScale(reference.vgfn.c_str(), reference.piece_number, rotation, &x_factor, &y_factor)) {
      *rotation = 0.0;
    }
  } else {
    GetPieceRotationScaleByName(document, pieces, index, reference.vgfn, loader, rotation, &x_factor, &y_factor);
  }
  if (x_factor != 0.0) *x_percent = (1.0 / x_factor - 1.0) * 100.0;
  if (y_factor != 0.0) *y_percent = (1.0 / y_factor - 1.0) * 100.0;
}

void GetPieceRotationScaleByName(const MarkerDocument& document, const CSection& pieces, long index,
                                 std::string_view vgfn, VariantLoad& loader, double* rotation, double* x_factor,
                                 double* y_factor) {
  const std::string iart(document.GetFieldValue(pieces, pieces[static_cast<std::size_t>(index)], "IART"));
  if (iart.empty()) return;
  const OpenedModel model(loader, document, vgfn);
  if (!model.GetRotationScale(std::string(vgfn).c_str(), iart.c_str(), rotation, x_factor, y_factor)) {
    *rotation = 0.0;
  }
}

}  // namespace dorvan_marker
