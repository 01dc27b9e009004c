// SPDX-License-Identifier: MIT
// A piece's rotation and scale from its model file.
#include <string>

#include "marker/marker_document.hpp"
#include "models/model_file_path.hpp"
#include "models/piece_reference.hpp"
#include "platform/c_numbers.hpp"

namespace dorvan_marker {

void MarkerDocument::GetPieceRotationScale(const CSection& pieces, long index, const char* marker_path,
                                           VariantLoad& loader, double* rotation, double* x_percent,
                                           double* y_percent) const {
  *rotation = 0.0;
  double x_factor = 1.0;
  double y_factor = 1.0;
  if (index < 0 || static_cast<std::size_t>(index) >= pieces.size()) {
    Fail("IBA", index, nullptr, {},
         "piece record " + std::to_string(static_cast<long long>(index) + 1) + " is outside the " +
             std::to_string(pieces.size()) + " piece records");
  }
  const CSection* articles = FindSection("VART");
  static const CSection kNoArticles;
  const PieceReference reference =
      ReferencePiece(*this, pieces, static_cast<std::size_t>(index), articles ? *articles : kNoArticles);

  if (EqualsIgnoringCase(reference.vext, "MDL")) {
    const std::string path = MakeModelFilePath(marker_path, ModelNameOfArticle(reference.article_number), code_page_);
    loader.Open(path.c_str());  // a failed open is answered by the query itself
    if (!loader.GetRotationScale(reference.vgfn.c_str(), reference.piece_number, rotation, &x_factor, &y_factor)) {
      *rotation = 0.0;
    }
  } else {
    GetPieceRotationScaleByName(pieces, index, reference.vgfn, marker_path, loader, rotation, &x_factor, &y_factor);
  }
  if (x_factor != 0.0) *x_percent = (1.0 / x_factor - 1.0) * 100.0;
  if (y_factor != 0.0) *y_percent = (1.0 / y_factor - 1.0) * 100.0;
}

void MarkerDocument::GetPieceRotationScaleByName(const CSection& pieces, long index, std::string_view vgfn,
                                                 const char* marker_path, VariantLoad& loader, double* rotation,
                                                 double* x_factor, double* y_factor) const {
  const std::string iart(GetFieldValue(pieces, pieces[static_cast<std::size_t>(index)], "IART"));
  if (iart.empty()) return;
  const std::string path = MakeModelFilePath(marker_path, vgfn, code_page_);
  loader.Open(path.c_str());
  if (!loader.GetRotationScale(std::string(vgfn).c_str(), iart.c_str(), rotation, x_factor, y_factor)) {
    *rotation = 0.0;
  }
}

void MarkerDocument::PieceScale(PlacementTable& table, std::size_t piece, const char* marker_path, double* rotation,
                                double* x_percent, double* y_percent) const {
  PlacementTable::Piece& known = table.pieces[piece];
  if (!known.scaled) {
    const CSection* pieces = FindSection("IBA");
    static const CSection kNoPieces;
    if (!Loader->RepeatsAnswers()) {
      GetPieceRotationScale(pieces != nullptr ? *pieces : kNoPieces, static_cast<long>(piece), marker_path, *Loader,
                            rotation, x_percent, y_percent);
      return;
    }
    GetPieceRotationScale(pieces != nullptr ? *pieces : kNoPieces, static_cast<long>(piece), marker_path, *Loader,
                          &known.rotation, &known.x_percent, &known.y_percent);
    known.scaled = true;
  }
  *rotation = known.rotation;
  *x_percent = known.x_percent;
  *y_percent = known.y_percent;
}

}  // namespace dorvan_marker
