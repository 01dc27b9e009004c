// SPDX-License-Identifier: MIT
#include "models/piece_reference.hpp"

#include "platform/c_numbers.hpp"

namespace dorvan_marker {

int PieceNumber(std::string_view inam) {
  return inam.find_first_not_of(" \t") == std::string_view::npos ? 1 : Atoi(inam);
}

PieceReference ReferencePiece(const MarkerDocument& document, const CSection& pieces, std::size_t index,
                              const CSection& articles) {
  const CElementsArray& piece = pieces[index];
  PieceReference reference;
  reference.piece_number = PieceNumber(document.GetFieldValue(pieces, piece, "INAM"));
  const std::string_view number_text = document.GetFieldValue(pieces, piece, "VNUM");
  reference.article_number = Atoi(number_text);
  const long long article = static_cast<long long>(reference.article_number) - 1;
  if (article < 0 || static_cast<std::size_t>(article) >= articles.size()) {
    document.Fail("IBA", static_cast<long>(index), &piece, "VNUM",
                  "\"VNUM\" \"" + std::string(number_text) + "\" points outside the " +
                      std::to_string(articles.size()) + " articles");
  }
  reference.article = static_cast<std::size_t>(article);
  const CElementsArray& record = articles[reference.article];
  reference.vgfn = document.GetFieldValue(articles, record, "VGFN");
  reference.vext = document.GetFieldValue(articles, record, "VEXT");
  return reference;
}

}  // namespace dorvan_marker
