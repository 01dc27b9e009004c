// SPDX-License-Identifier: MIT
// A piece's rotation and scale from its model file.
#include <string>

#include "hostfiles/size_groups.hpp"
#include "marker/marker_document.hpp"
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
    const std::string& path = ModelFilePath(marker_path, ModelNameOfArticle(reference.article_number));
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
  const std::string& path = ModelFilePath(marker_path, vgfn);
  loader.Open(path.c_str());
  if (!loader.GetRotationScale(std::string(vgfn).c_str(), iart.c_str(), rotation, x_factor, y_factor)) {
    *rotation = 0.0;
  }
}

void MarkerDocument::PieceScale(PlacementTable& table, std::size_t piece, const char* marker_path, double* rotation,
                                double* x_percent, double* y_percent) const {
  PlacementTable::Piece& known = table.pieces[piece];
  if (known.scale == PlacementTable::kNone) {
    if (!Loader->RepeatsAnswers() || !ScaleQuery(table, piece)) {
      const CSection* pieces = FindSection("IBA");
      static const CSection kNoPieces;
      GetPieceRotationScale(pieces != nullptr ? *pieces : kNoPieces, static_cast<long>(piece), marker_path, *Loader,
                            rotation, x_percent, y_percent);
      return;
    }
    auto found = table.scale_of_query.find(table.query);
    if (found == table.scale_of_query.end()) {
      PlacementTable::Scale scale;
      GetPieceRotationScale(*table.scale_columns.pieces, static_cast<long>(piece), marker_path, *Loader,
                            &scale.rotation, &scale.x_percent, &scale.y_percent);
      table.scales.push_back(scale);
      found = table.scale_of_query.emplace(table.query, static_cast<std::uint32_t>(table.scales.size() - 1)).first;
    }
    known.scale = found->second;
  }
  const PlacementTable::Scale& scale = table.scales[known.scale];
  *rotation = scale.rotation;
  *x_percent = scale.x_percent;
  *y_percent = scale.y_percent;
}

void MarkerDocument::ScaleGroupedPieces(PlacementTable& table, const SizeGroups& groups,
                                        const char* marker_path) const {
  if (!Loader->RepeatsAnswers()) return;
  double rotation = 0.0;
  double x_percent = 0.0;
  double y_percent = 0.0;
  for (std::size_t p = 0; p < table.pieces.size(); ++p) {
    if (groups.GroupOfPiece(p) != SizeGroups::kNone) PieceScale(table, p, marker_path, &rotation, &x_percent, &y_percent);
  }
}

// The loader's query for piece record `piece` as GetPieceRotationScale makes it, as a
// number in table.query: on the model route the article number (which gives the model
// file and the article's "VGFN") and the piece number; on the by-name route the number of
// the article's "VGFN" text (which also gives the file) and of the piece's key. False
// when the piece record or its article is out of reach (GetPieceRotationScale then raises
// what it raises) or the piece was not resolved (its key has no number).
bool MarkerDocument::ScaleQuery(PlacementTable& table, std::size_t piece) const {
  PlacementTable::ScaleColumns& columns = table.scale_columns;
  if (!columns.ready) {
    columns.pieces = FindSection("IBA");
    columns.articles = FindSection("VART");
    if (columns.pieces == nullptr || columns.articles == nullptr) return false;
    columns.inam = Column(*columns.pieces, "INAM");
    columns.vnum = Column(*columns.pieces, "VNUM");
    columns.vgfn = Column(*columns.articles, "VGFN");
    columns.vext = Column(*columns.articles, "VEXT");
    columns.routes.assign(columns.articles->size(), PlacementTable::ArticleRoute());
    columns.ready = true;
  }
  if (piece >= columns.pieces->size() || table.pieces[piece].key == PlacementTable::kNone) return false;
  const CElementsArray& record = (*columns.pieces)[piece];
  const int article_number = Atoi(columns.vnum.Of(record));
  if (article_number < 1 || static_cast<std::size_t>(article_number) > columns.articles->size()) return false;
  PlacementTable::ArticleRoute& route = columns.routes[static_cast<std::size_t>(article_number) - 1];
  if (!route.known) {
    const CElementsArray& article = (*columns.articles)[static_cast<std::size_t>(article_number) - 1];
    route.by_model = EqualsIgnoringCase(columns.vext.Of(article), "MDL");
    if (!route.by_model) {
      const auto number = static_cast<std::uint32_t>(columns.vgfn_numbers.size());
      route.vgfn = columns.vgfn_numbers.try_emplace(columns.vgfn.Of(article), number).first->second;
    }
    route.known = true;
  }
  if (route.by_model) {
    table.query = std::uint64_t{1} << 63 | std::uint64_t{static_cast<std::uint32_t>(article_number)} << 32 |
                  static_cast<std::uint32_t>(PieceNumber(columns.inam.Of(record)));
  } else {
    table.query = std::uint64_t{route.vgfn} << 32 | table.pieces[piece].key;
  }
  return true;
}

}  // namespace dorvan_marker
