// SPDX-License-Identifier: MIT
#pragma once

#include "marker/marker_document.hpp"
#include "models/piece_reference.hpp"

namespace dorvan_marker {

// The rotation (radians) and the x and y scale percentages of piece record `index` of
// pieces (the "IBA" section), asked of loader in the model file its article leads to.
// rotation is set to 0.0 first and stays so when the loader gives none; a percentage is
// written, as (1 / factor - 1) x 100, only for an axis whose factor is not 0.0, and keeps
// the caller's value otherwise. A model name that is not a plain file name asks nothing
// (OpenedModel): rotation 0.0, factors 1.0. Raises InvalidArgumentError when index or the
// piece's "VNUM" points outside its section.
void GetPieceRotationScale(const MarkerDocument& document, const CSection& pieces, long index, VariantLoad& loader,
                           double* rotation, double* x_percent, double* y_percent);

// The same for a caller that asks for many pieces: articles is the document's "VART" (an
// empty section when it has none) and columns are made of pieces and articles.
void GetPieceRotationScale(const MarkerDocument& document, const CSection& pieces, const CSection& articles,
                           const PieceColumns& columns, long index, VariantLoad& loader, double* rotation,
                           double* x_percent, double* y_percent);

// The route of a piece whose article is not of kind "MDL": the loader is asked in the file
// the article's "VGFN" names, for the piece's "IART" key; an empty key asks nothing. The
// factors are left as the loader leaves them.
void GetPieceRotationScaleByName(const MarkerDocument& document, std::string_view iart, std::string_view vgfn,
                                 VariantLoad& loader, double* rotation, double* x_factor, double* y_factor);

}  // namespace dorvan_marker
