// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

#include "marker/marker_document.hpp"

namespace dorvan_marker {

// What a piece record ("IBA") says about where the model file knows the piece.
struct PieceReference {
  int piece_number = 1;     // from "INAM": atoi of it, or 1 when it is blank
  int article_number = 0;   // atoi of "VNUM": 1-based article
  std::size_t article = 0;  // 0-based position of the article in "VART"
  std::string vgfn;         // "VGFN" of the article: its name in the model file
  std::string vext;         // "VEXT" of the article: its kind
};

// The piece number that "INAM" gives: atoi of the whole value when it holds anything but
// blanks and tabs, else 1.
int PieceNumber(std::string_view inam);

// The columns that lead a piece record to its article and its key, looked up once: the
// import follows every piece of a large marker. A column of an empty section is missing.
struct PieceColumns {
  PieceColumns() = default;
  PieceColumns(const MarkerDocument& document, const CSection& pieces, const CSection& articles);

  FieldColumn inam, vnum, iart;  // of "IBA"
  FieldColumn vgfn, vext;        // of "VART"
};

// Follows piece record `index` of pieces to its article, with columns made of the same
// sections. Raises InvalidArgumentError when its "VNUM" points outside the articles.
PieceReference ReferencePiece(const MarkerDocument& document, const CSection& pieces, std::size_t index,
                              const CSection& articles, const PieceColumns& columns);

}  // namespace dorvan_marker
