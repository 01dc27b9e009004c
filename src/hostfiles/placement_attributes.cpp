// SPDX-License-Identifier: MIT
#include "hostfiles/placement_attributes.hpp"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "hostfiles/placement_geometry.hpp"
#include "marker/article_kind.hpp"
#include "marker/normalize_name.hpp"
#include "platform/c_numbers.hpp"
#include "platform/quoted.hpp"

namespace dorvan_marker {

constexpr std::size_t kRepeatedBytesPerMarkerByte = 16;
constexpr std::size_t kRepeatedBytesFloor = std::size_t{16} << 20;

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
                  Quoted("VNUM") + " " + Quoted(document.GetFieldValue(section, *last, "VNUM")) +
                      " points outside the " + std::to_string(section.size()) + " records of " + Quoted(tag));
  }
  return static_cast<std::size_t>(position);
}

namespace {

// The name of the piece whose "IART" is key: the model file's name for it where PieceNames
// has one, else the key itself.
std::string PieceName(const MarkerDocument& document, std::string_view key) {
  std::string name(key);
  if (!document.PieceNames.empty()) {
    const auto found = document.PieceNames.find(name);
    if (found != document.PieceNames.end()) name = found->second;
  }
  return name;
}

// GetPlacementSizeAndPiece for many placements. Sections and columns are looked up when
// first needed, in the order the single lookup meets them, so that a lookup that raises
// does so at the same placement. The size depends only on the article and the name only
// on the piece key, so both are kept once known.
class PlacementResolver {
 public:
  explicit PlacementResolver(const MarkerDocument& document) : document_(document) {}

  // piece may be null when only the size is wanted (NameNumber gives the name); article,
  // when not null, receives the position of the article the size was resolved from.
  void Resolve(const CSection* placements, long index, std::string& size, std::string* piece,
               std::size_t* article = nullptr);

  // Resolve for the placement at index, whose piece record (at piece_position, which
  // Resolve has seen inside the section) is known.
  void ResolvePiece(std::size_t piece_position, long index, std::string& size, std::string* piece,
                    std::size_t* article_position = nullptr);

  // The number in names of the piece name of piece record p after NormalizeName, for a
  // record Resolve has seen.
  std::uint32_t NameNumber(std::size_t p, TextTable& names);

 private:
  // A section looked up once, and whether it was.
  struct Lookup {
    bool done = false;
    const CSection* section = nullptr;
  };
  const CSection* Find(Lookup& lookup, std::string_view tag) {
    if (!lookup.done) {
      lookup.section = document_.FindSection(tag);
      lookup.done = true;
    }
    return lookup.section;
  }
  // False when the article's kind leaves the size as the caller passed it.
  bool ResolveSize(std::size_t article, const CSection& articles, const CElementsArray& piece_record, long p,
                   std::string& size);

  const MarkerDocument& document_;
  Lookup pieces_, articles_, garments_, models_;
  const CSection* columns_of_ = nullptr;  // the placements whose "INUM" column is known
  FieldColumn inum_, piece_vnum_, iart_, kind_;
  bool piece_columns_ = false;
  bool article_columns_ = false;
  // What ResolveSize did to the size of each article, once known.
  enum class Known : unsigned char { kNo, kSet, kUnchanged };
  std::vector<Known> article_known_;
  std::vector<std::string> article_sizes_;                     // by article, when kSet
  std::unordered_map<std::string_view, std::uint32_t> names_;  // by piece key: the normalised name's number
};

void PlacementResolver::Resolve(const CSection* placements, long index, std::string& size, std::string* piece,
                                std::size_t* article_position) {
  static const CSection kNone;
  const CSection& geo = placements != nullptr ? *placements : kNone;
  if (index < 0 || static_cast<std::size_t>(index) >= geo.size()) {
    document_.Fail("IGEO", index, nullptr, {},
                   "placement record is outside the " + std::to_string(geo.size()) + " placements");
  }
  const CElementsArray& placement = geo[static_cast<std::size_t>(index)];
  const CSection* pieces_found = Find(pieces_, "IBA");
  const CSection& pieces = pieces_found != nullptr ? *pieces_found : kNone;
  if (columns_of_ != &geo) {
    inum_ = document_.Column(geo, "INUM");
    columns_of_ = &geo;
  }
  const std::string_view inum = inum_.Of(placement);
  const long long p = static_cast<long long>(Atoi(inum)) - 1;
  if (p < 0 || static_cast<std::size_t>(p) >= pieces.size()) {
    document_.Fail("IGEO", index, &placement, "INUM",
                   Quoted("INUM") + " " + Quoted(inum) + " points outside the " + std::to_string(pieces.size()) +
                       " piece records");
  }
  ResolvePiece(static_cast<std::size_t>(p), index, size, piece, article_position);
}

void PlacementResolver::ResolvePiece(std::size_t piece_position, long index, std::string& size, std::string* piece,
                                     std::size_t* article_position) {
  const auto p = static_cast<long long>(piece_position);
  const CElementsArray& piece_record = (*pieces_.section)[piece_position];
  const CSection* articles_found = Find(articles_, "VART");
  static const CSection kNone;
  const CSection& articles = articles_found != nullptr ? *articles_found : kNone;
  if (!piece_columns_) {
    piece_vnum_ = document_.Column(*pieces_.section, "VNUM");
    iart_ = document_.Column(*pieces_.section, "IART");
    piece_columns_ = true;
  }
  const std::string_view vnum = piece_vnum_.Of(piece_record);
  const long long v = static_cast<long long>(Atoi(vnum)) - 1;
  if (v < 0 || static_cast<std::size_t>(v) >= articles.size()) {
    document_.Fail("IBA", static_cast<long>(p), &piece_record, "VNUM",
                   Quoted("VNUM") + " " + Quoted(vnum) + " points outside the " + std::to_string(articles.size()) +
                       " articles (placement " + std::to_string(index + 1) + " of " + Quoted("IGEO") + ")");
  }
  const auto article = static_cast<std::size_t>(v);
  if (article_position != nullptr) *article_position = article;
  if (article_known_.size() != articles.size()) {
    article_known_.assign(articles.size(), Known::kNo);
    article_sizes_.assign(articles.size(), std::string());
  }
  switch (article_known_[article]) {
    case Known::kSet: size = article_sizes_[article]; break;
    case Known::kUnchanged: break;
    case Known::kNo:
      if (ResolveSize(article, articles, piece_record, static_cast<long>(p), size)) {
        article_sizes_[article] = size;
        article_known_[article] = Known::kSet;
      } else {
        article_known_[article] = Known::kUnchanged;
      }
      break;
  }

  if (piece != nullptr) *piece = PieceName(document_, iart_.Of(piece_record));
}

// The size an article's kind gives it: everything here depends on the article alone (and
// on the sections), never on the piece record but for messages.
bool PlacementResolver::ResolveSize(std::size_t article, const CSection& articles, const CElementsArray& piece_record,
                                    long p, std::string& size) {
  const CSection* garments = Find(garments_, "VVET");
  if (!article_columns_) {
    kind_ = document_.Column(articles, "VEXT");
    article_columns_ = true;
  }
  const std::string_view kind = kind_.Of(articles[article]);

  switch (ArticleKindOf(kind, garments != nullptr)) {
    case ArticleKind::Model:
      if (const CSection* models = Find(models_, "VMDL")) {
        const std::size_t m = PositionRule(document_, *models, "VMDL", article, piece_record, p);
        size = document_.GetFieldValue(*models, (*models)[m], "VTAN");
      } else {
        size = "-1";
      }
      break;
    case ArticleKind::Garment:
      if (garments != nullptr) {
        const std::size_t m = PositionRule(document_, *garments, "VVET", article, piece_record, p);
        const CElementsArray& garment = (*garments)[m];
        if (IsResolvedSizeFlag(document_.GetFieldValue(*garments, garment, "VCTA"))) {
          if (m >= document_.ArticleSizes.size()) {
            document_.Fail("VVET", static_cast<long>(m), &garment, "VCTA",
                           "the record takes its article's resolved size, but there are only " +
                               std::to_string(document_.ArticleSizes.size()) + " articles");
          }
          size = document_.ArticleSizes[m];
        } else {
          size = document_.GetFieldValue(*garments, garment, "VTAI");
        }
      } else {
        size = "-1";
      }
      break;
    case ArticleKind::NoSize: size = "-1"; return true;
    case ArticleKind::Other: return false;  // the size stays as the caller passed it
  }
  if (size.empty()) size = "-1";
  return true;
}

std::uint32_t PlacementResolver::NameNumber(std::size_t p, TextTable& names) {
  const CElementsArray& piece_record = (*pieces_.section)[p];
  const std::string_view key = iart_.Of(piece_record);
  auto found = names_.find(key);
  if (found == names_.end()) {
    found = names_.emplace(key, names.Add(NormalizeName(PieceName(document_, key), document_.Codes()))).first;
  }
  return found->second;
}

}  // namespace

void GetPlacementSizeAndPiece(const MarkerDocument& document, const CSection* placements, long index, std::string& size,
                              std::string& piece) {
  PlacementResolver(document).Resolve(placements, index, size, &piece);
}

PlacementTable ResolvePlacements(const MarkerDocument& document) {
  PlacementTable table;
  const CSection* placements = document.FindSection("IGEO");
  if (placements == nullptr) return table;
  const CSection* pieces = document.FindSection("IBA");
  table.pieces.resize(pieces != nullptr ? pieces->size() : 0);
  table.piece_of.reserve(placements->size());
  const FieldColumn inum = document.Column(*placements, "INUM");
  PlacementResolver resolver(document);

  // Which placement first lays each piece record, in one walk of the placements.
  std::vector<std::uint32_t> first_placement(table.pieces.size(), PlacementTable::kNone);
  std::string size;
  for (std::size_t j = 0; j < placements->size(); ++j) {
    const long long p = static_cast<long long>(Atoi(inum.Of((*placements)[j]))) - 1;
    if (p < 0 || static_cast<std::size_t>(p) >= table.pieces.size()) {
      resolver.Resolve(placements, static_cast<long>(j), size, nullptr);  // raises about this placement
      document.Fail("IGEO", static_cast<long>(j), &(*placements)[j], "INUM", "the piece record is out of reach");
    }
    if (first_placement[static_cast<std::size_t>(p)] == PlacementTable::kNone) {
      first_placement[static_cast<std::size_t>(p)] = static_cast<std::uint32_t>(j);
    }
    table.piece_of.push_back(static_cast<std::uint32_t>(p));
  }
  if (table.piece_of.empty()) return table;

  // Each laid piece record resolved once, in record order: placements lay pieces in any
  // order, and a walk from the first piece record to the last reads the marker's text
  // front to back. When several pieces fail, the one reported may be another than the
  // placements' order would meet first; the marker fails all the same.
  // The first placement resolved as the lookup alone would resolve it: it looks up the
  // sections and columns the others take for granted.
  resolver.Resolve(placements, 0, size, nullptr);
  const FieldColumn iflg = document.Column(*pieces, "IFLG");
  std::vector<std::size_t> repeated_by_piece(table.pieces.size(), 0);
  std::vector<std::uint32_t> size_of_article;  // the number of each article's size, once known
  for (std::size_t p = 0; p < table.pieces.size(); ++p) {
    if (first_placement[p] == PlacementTable::kNone) continue;
    PlacementTable::Piece& piece = table.pieces[p];
    std::size_t article = 0;
    size.clear();
    resolver.ResolvePiece(p, static_cast<long>(first_placement[p]), size, nullptr, &article);
    if (article >= size_of_article.size()) size_of_article.resize(article + 1, PlacementTable::kNone);
    if (size_of_article[article] == PlacementTable::kNone) size_of_article[article] = table.sizes.Add(size);
    piece.size = size_of_article[article];
    piece.article = static_cast<std::uint32_t>(article);
    piece.name = resolver.NameNumber(p, table.names);
    piece.code = PieceCode(Atoi(iflg.Of((*pieces)[p])));
    repeated_by_piece[p] = table.names[piece.name].size() + table.sizes[piece.size].size();
  }

  // The host files repeat a piece's name and size for every placement that lays it: a
  // long name laid by many short records must not turn a small marker into a host file
  // that fills the disk. What they repeat is kept in proportion to the marker.
  const std::size_t budget = kRepeatedBytesPerMarkerByte * document.Records().TextSize() + kRepeatedBytesFloor;
  std::size_t repeated = 0;
  for (std::size_t j = 0; j < table.piece_of.size(); ++j) {
    repeated += repeated_by_piece[table.piece_of[j]];
    if (repeated > budget) {
      document.Fail("IGEO", static_cast<long>(j), &(*placements)[j], "INUM",
                    "the names and sizes of the placements up to this one come to more than " + std::to_string(budget) +
                        " bytes, " + std::to_string(kRepeatedBytesPerMarkerByte) + " times the marker's size");
    }
  }
  return table;
}

}  // namespace dorvan_marker
