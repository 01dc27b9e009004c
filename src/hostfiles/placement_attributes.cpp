// SPDX-License-Identifier: MIT
// From a placement record to its size and piece name.
#include <string>

#include "marker/marker_document.hpp"
#include "marker/normalize_name.hpp"
#include "platform/c_numbers.hpp"

namespace dorvan_marker {
namespace {

std::string Quoted(std::string_view text) { return '"' + std::string(text) + '"'; }

}  // namespace

// The record of "VMDL" or "VVET" that holds the size of the article at position `article`:
// the "VNUM" - 1 of the record at the article's position, or of the last record when the
// section is shorter. Only the last record read decides, so the walk is one read.
static std::size_t PositionRule(const MarkerDocument& document, const CSection& section, std::string_view tag,
                                std::size_t article, const CElementsArray& piece, long piece_position) {
  long long position = 0;
  const CElementsArray* last = nullptr;
  if (!section.empty()) {
    const std::size_t k = article < section.size() ? article : section.size() - 1;
    last = &section[k];
    position = static_cast<long long>(Atoi(document.GetFieldValue(section, *last, "VNUM"))) - 1;
  }
  if (position < 0 || static_cast<std::size_t>(position) >= section.size()) {
    if (last == nullptr) {
      document.Fail("IBA", piece_position, &piece, "VNUM",
                    "the article " + std::to_string(article + 1) + " has its size in " + Quoted(tag) +
                        ", which holds no records");
    }
    const std::size_t k = article < section.size() ? article : section.size() - 1;
    document.Fail(tag, static_cast<long>(k), last, "VNUM",
                  Quoted("VNUM") + " " + Quoted(document.GetFieldValue(section, *last, "VNUM")) + " points outside the " +
                      std::to_string(section.size()) + " records of " + Quoted(tag));
  }
  return static_cast<std::size_t>(position);
}

void MarkerDocument::GetPlacementSizeAndPiece(const CSection* placements, long index, std::string& size,
                                              std::string& piece) const {
  static const CSection kNone;
  const CSection& geo = placements != nullptr ? *placements : kNone;
  if (index < 0 || static_cast<std::size_t>(index) >= geo.size()) {
    Fail("IGEO", index, nullptr, {}, "placement record is outside the " + std::to_string(geo.size()) + " placements");
  }
  const CElementsArray& placement = geo[static_cast<std::size_t>(index)];
  const CSection* pieces_found = FindSection("IBA");
  const CSection& pieces = pieces_found != nullptr ? *pieces_found : kNone;
  const std::string_view inum = GetFieldValue(geo, placement, "INUM");
  const long long p = static_cast<long long>(Atoi(inum)) - 1;
  if (p < 0 || static_cast<std::size_t>(p) >= pieces.size()) {
    Fail("IGEO", index, &placement, "INUM",
         Quoted("INUM") + " " + Quoted(inum) + " points outside the " + std::to_string(pieces.size()) +
             " piece records");
  }
  const CElementsArray& piece_record = pieces[static_cast<std::size_t>(p)];
  const CSection* articles_found = FindSection("VART");
  const CSection& articles = articles_found != nullptr ? *articles_found : kNone;
  const std::string_view vnum = GetFieldValue(pieces, piece_record, "VNUM");
  const long long v = static_cast<long long>(Atoi(vnum)) - 1;
  if (v < 0 || static_cast<std::size_t>(v) >= articles.size()) {
    Fail("IBA", static_cast<long>(p), &piece_record, "VNUM",
         Quoted("VNUM") + " " + Quoted(vnum) + " points outside the " + std::to_string(articles.size()) +
             " articles (placement " + std::to_string(index + 1) + " of " + Quoted("IGEO") + ")");
  }
  const CSection* garments = FindSection("VVET");
  const std::string_view kind = GetFieldValue(articles, articles[static_cast<std::size_t>(v)], "VEXT");
  const auto article = static_cast<std::size_t>(v);

  bool check_empty = true;
  if (EqualsIgnoringCase(kind, "MDL")) {
    const CSection* models = FindSection("VMDL");
    if (models == nullptr) {
      size = "-1";
    } else {
      const std::size_t m = PositionRule(*this, *models, "VMDL", article, piece_record, static_cast<long>(p));
      size = GetFieldValue(*models, (*models)[m], "VTAN");
    }
  } else if (EqualsIgnoringCase(kind, "VET") || (garments != nullptr && kind.empty())) {
    if (garments == nullptr) {
      size = "-1";
    } else {
      const std::size_t m = PositionRule(*this, *garments, "VVET", article, piece_record, static_cast<long>(p));
      const CElementsArray& garment = (*garments)[m];
      if (EqualsIgnoringCase(GetFieldValue(*garments, garment, "VCTA"), "1")) {
        if (m >= ArticleSizes.size()) {
          Fail("VVET", static_cast<long>(m), &garment, "VCTA",
               "the record takes its article's resolved size, but there are only " +
                   std::to_string(ArticleSizes.size()) + " articles");
        }
        size = ArticleSizes[m];
      } else {
        size = GetFieldValue(*garments, garment, "VTAI");
      }
    }
  } else {
    check_empty = false;
    if (kind.empty() || kind == "xin") size = "-1";
  }
  if (check_empty && size.empty()) size = "-1";

  piece = GetFieldValue(pieces, piece_record, "IART");
  if (!PieceNames.empty()) {
    const auto found = PieceNames.find(piece);
    if (found != PieceNames.end()) piece = found->second;
  }
}

PlacementTable MarkerDocument::ResolvePlacements() const {
  PlacementTable table;
  const CSection* placements = FindSection("IGEO");
  if (placements == nullptr) return table;
  const CSection* pieces = FindSection("IBA");
  table.pieces.resize(pieces != nullptr ? pieces->size() : 0);
  table.piece_of.reserve(placements->size());
  const FieldColumn inum = Column(*placements, "INUM");
  for (std::size_t j = 0; j < placements->size(); ++j) {
    const long long p = static_cast<long long>(Atoi(inum.Of((*placements)[j]))) - 1;
    if (p < 0 || static_cast<std::size_t>(p) >= table.pieces.size()) {
      std::string size;
      std::string name;
      GetPlacementSizeAndPiece(placements, static_cast<long>(j), size, name);  // raises about this placement
      Fail("IGEO", static_cast<long>(j), &(*placements)[j], "INUM", "the piece record is out of reach");
    }
    PlacementTable::Piece& piece = table.pieces[static_cast<std::size_t>(p)];
    if (!piece.resolved) {
      GetPlacementSizeAndPiece(placements, static_cast<long>(j), piece.size, piece.name);
      piece.name = NormalizeName(piece.name, code_page_);
      piece.resolved = true;
    }
    table.piece_of.push_back(static_cast<std::uint32_t>(p));
  }
  return table;
}

}  // namespace dorvan_marker
