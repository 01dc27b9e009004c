// SPDX-License-Identifier: MIT
#include "models/piece_reference.hpp"

#include "platform/c_numbers.hpp"

namespace dorvan_marker {

int PieceNumber(std::string_view inam) {
  return inam.find_first_not_of(" \t") == std::string_view::npos ? 1 : Atoi(inam);
}

PieceColumns::PieceColumns(const MarkerDocument& document, const CSection& pieces, const CSection& articles) {
  if (!pieces.empty()) {
    inam = document.Column(pieces, "INAM");
    vnum = document.Column(pieces, "VNUM");
    iart = document.Column(pieces, "IART");
  }
  if (!articles.empty()) {
    vgfn = document.Column(articles, "VGFN");
    vext = document.Column(articles, "VEXT");
  }
}

PieceReference ReferencePiece(const MarkerDocument& document, const CSection& pieces, std::size_t index,
                              const CSection& articles, const PieceColumns& columns) {
  const CElementsArray& piece = pieces[index];
  PieceReference reference;
  reference.piece_number = PieceNumber(columns.inam.Of(piece));
  const std::string_view number_text = columns.vnum.Of(piece);
  reference.article_number = Atoi(number_text);
  const long long article = static_cast<long long>(reference.article_number) - 1;
  if (article < 0 || static_cast<std::size_t>(article) >= articles.size()) {
    document.Fail("IBA", static_cast<long>(index), &piece, "VNUM",
                  "\"VNUM\" \"" + std::string(number_text) + "\" points outside the " +
                      std::to_string(articles.size()) + " articles");
  }
  reference.article = static_cast<std::size_t>(article);
  const CElementsArray& record = articles[reference.article];
  reference.vgfn = columns.vgfn.Of(record);
  reference.vext = columns.vext.Of(record);
  return reference;
}

}  // namespace dorvan_marker
