// SPDX-License-Identifier: MIT
#include "report/garments.hpp"

#include <cstdint>
#include <vector>

#include "models/piece_reference.hpp"

namespace dorvan_marker {
namespace {

constexpr std::size_t kUnknown = SIZE_MAX;

// The article of each piece record, found when a placement of the group first lays it.
class ArticleOfPiece {
 public:
  ArticleOfPiece(const MarkerDocument& document, std::size_t pieces)
      : document_(document),
        pieces_(document.FindSection("IBA")),
        articles_(document.FindSection("VART")),
        article_of_(pieces, kUnknown) {}

  std::size_t operator()(std::size_t piece) {
    std::size_t& article = article_of_[piece];
    // The placements were resolved through these sections, so both exist and the
    // piece's "VNUM" lies inside the articles.
    if (article == kUnknown) article = ReferencePiece(document_, *pieces_, piece, *articles_).article;
    return article;
  }

 private:
  const MarkerDocument& document_;
  const CSection* pieces_;
  const CSection* articles_;
  std::vector<std::size_t> article_of_;
};

}  // namespace

void CountGarments(const MarkerDocument& document, const HostPlacements& placements, MarkerReport& report) {
  const PlacementTable& table = placements.table;
  ArticleOfPiece article_of(document, table.pieces.size());
  // An article's pieces all take its size, so it lies in one group; the mark only keeps
  // a second placement of the same article from counting twice.
  std::vector<bool> counted;
  report.garments = 0;
  for (std::size_t i = 0; i < placements.groups.size() && i < report.sizes.size(); ++i) {
    std::size_t garments = 0;
    for (const std::uint32_t placement : placements.groups[i]) {
      const std::size_t article = article_of(table.piece_of[placement]);
      if (article >= counted.size()) counted.resize(article + 1, false);
      if (counted[article]) continue;
      counted[article] = true;
      ++garments;
    }
    report.sizes[i].garments = garments;
    report.garments += garments;
  }
}

}  // namespace dorvan_marker
