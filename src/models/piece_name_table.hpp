// SPDX-License-Identifier: MIT
#pragma once

#include "marker/marker_document.hpp"

namespace dorvan_marker {

// Fills document.PieceNames: for each distinct "IART" of the "IBA" records, the name its
// model file (the "VNMD" of its article's "VMDL" record) gives the piece, where that name
// differs; and document.UnnamedPieces: each "IART" that keeps its marker name, although
// its model file was opened or because its article names none. Raises
// InvalidArgumentError when a piece's "VNUM" points outside the articles.
void BuildPieceNameTable(MarkerDocument& document);

}  // namespace dorvan_marker
