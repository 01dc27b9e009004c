// SPDX-License-Identifier: MIT
#include "models/piece_scales.hpp"

#include "marker/article_kind.hpp"
#include "models/piece_reference.hpp"
#include "models/rotation_scale.hpp"
#include "platform/c_numbers.hpp"

namespace dorvan_marker {
namespace {

const CSection kNoSection;

const CSection& SectionOrNone(const CSection* section) { return section != nullptr ? *section : kNoSection; }

}  // namespace

PieceScales::PieceScales(const MarkerDocument& document)
    : document_(document),
      pieces_(SectionOrNone(document.FindSection("IBA"))),
      articles_(SectionOrNone(document.FindSection("VART"))),
      columns_(document, pieces_, articles_),
      repeats_(document.Loader->RepeatsAnswers()) {
  if (!repeats_ || pieces_.empty() || articles_.empty()) return;
  scale_of_piece_.assign(pieces_.size(), kUnknown);
  route_of_article_.assign(articles_.size(), Route());
}

PieceScale PieceScales::Ask(std::size_t piece) const {
  PieceScale scale;
  GetPieceRotationScale(document_, pieces_, articles_, columns_, static_cast<long>(piece), *document_.Loader,
                        &scale.rotation, &scale.x_percent, &scale.y_percent);
  return scale;
}

PieceScale PieceScales::Of(std::size_t piece) {
  if (!repeats_ || piece >= scale_of_piece_.size()) return Ask(piece);
  std::uint32_t& known = scale_of_piece_[piece];
  if (known == kUnknown) {
    std::uint64_t query = 0;
    if (!QueryOf(piece, query)) return Ask(piece);
    const auto [found, added] = scale_of_query_.try_emplace(query, static_cast<std::uint32_t>(scales_.size()));
    if (added) scales_.push_back(Ask(piece));
    known = found->second;
  }
  return scales_[known];
}

void PieceScales::AskAhead(const std::vector<bool>& wanted) {
  if (!repeats_) return;
  for (std::size_t piece = 0; piece < wanted.size(); ++piece) {
    if (wanted[piece]) Of(piece);
  }
}

// An article's route: the model file and the "VGFN" its pieces are asked in, and whether
// by number (articles of kind "MDL") or by key. Articles of one model in many sizes share
// their route, and so their pieces' answers.
const PieceScales::Route& PieceScales::RouteOf(std::size_t article) {
  Route& route = route_of_article_[article];
  if (route.number == kUnknown) {
    const CElementsArray& record = articles_[article];
    route.by_number = IsModelKind(columns_.vext.Of(record));
    // The file's name, then "VGFN": the length first, since both may hold any byte.
    const std::string_view file =
        route.by_number ? document_.ModelNameOfArticle(static_cast<int>(article) + 1) : columns_.vgfn.Of(record);
    std::string text(route.by_number ? "n" : "k");
    text += std::to_string(file.size());
    text += ':';
    text += file;
    text += columns_.vgfn.Of(record);
    route.number = routes_.try_emplace(std::move(text), static_cast<std::uint32_t>(routes_.size())).first->second;
  }
  return route;
}

bool PieceScales::QueryOf(std::size_t piece, std::uint64_t& query) {
  const CElementsArray& record = pieces_[piece];
  const int article_number = Atoi(columns_.vnum.Of(record));
  if (article_number < 1 || static_cast<std::size_t>(article_number) > articles_.size()) return false;
  const Route& route = RouteOf(static_cast<std::size_t>(article_number) - 1);
  const std::uint32_t which =
      route.by_number
          ? static_cast<std::uint32_t>(PieceNumber(columns_.inam.Of(record)))
          : keys_.try_emplace(columns_.iart.Of(record), static_cast<std::uint32_t>(keys_.size())).first->second;
  query = std::uint64_t{route.number} << 32 | which;
  return true;
}

}  // namespace dorvan_marker
