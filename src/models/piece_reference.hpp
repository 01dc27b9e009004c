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

// Follows piece record `index` of pieces to its article. Raises InvalidArgumentError when
// its "VNUM" points outside the articles.
PieceReference ReferencePiece(const MarkerDocument& document, const CSection& pieces, std::size_t index,
                              const CSection& articles);

}  // namespace dorvan_marker
