// SPDX-License-Identifier: MIT
// The piece placement file: one line per placed piece, grouped by size.
#include <algorithm>
#include <array>
#include <iterator>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "hostfiles/placement_geometry.hpp"
#include "hostfiles/placement_line.hpp"
#include "hostfiles/printf_file.hpp"
#include "hostfiles/size_groups.hpp"
#include "marker/marker_document.hpp"
#include "platform/c_numbers.hpp"
#include "platform/kept_storage.hpp"

namespace dorvan_marker {
namespace {

// The most geometry that the placement file keeps at once: all that a marker of 20 MB
// needs, a few passes for larger ones.
constexpr std::size_t kGeometryBatchBytes = 8u << 20;

// What the file prints of one placement's geometry. The batch is filled in record order
// and printed in size order, all over it: small entries keep that in the cache.
struct PlacementLine {
  double angle = 0.0;           // PlacementGeometry::rounded_angle, plus the piece's turn when turn_known
  std::int32_t tenths[4] = {};  // PlacementGeometry::tenths, when tenths_known
  std::uint32_t prefix = 0;     // the piece's prefix in BatchReader's pool
  std::uint8_t piece_code = 16;
  std::uint8_t mirror_code = 0;
  bool tenths_known = false;
  bool turn_known = false;
};

// What the lines take from their piece, gathered in one pass over the pieces. Placements
// lay pieces in any order: all that a line needs of its piece is in one small entry.
struct PieceLine {
  double turn = 0.0;  // the model's rotation in degrees, when turn_known
  std::uint32_t group = kNoGroup;  // the piece's group of placements
  std::uint32_t prefix = 0;        // its lines' prefix in BatchReader's pool
  std::uint8_t piece_code = 16;
  bool turn_known = false;

  static constexpr std::uint32_t kNoGroup = UINT32_MAX;
};

// A batch of lines; the four values of the rare lines without tenths are kept apart.
class LineBatch {
 public:
  explicit LineBatch(std::size_t size) : lines_(KeptStorage<std::vector<PlacementLine>>::Take(size)) {
    lines_.resize(size);
  }
  ~LineBatch() { KeptStorage<std::vector<PlacementLine>>::Give(std::move(lines_)); }
  LineBatch(const LineBatch&) = delete;
  LineBatch& operator=(const LineBatch&) = delete;
  std::size_t size() const noexcept { return lines_.size(); }

  void Set(std::size_t k, const PlacementGeometry& g, const PieceLine& piece) {
    PlacementLine& line = lines_[k];
    // The angle as the line prints it: the same sum, in the same order, as when the
    // piece's turn is asked for at the line.
    line.angle = piece.turn_known ? piece.turn + g.rounded_angle : g.rounded_angle;
    line.turn_known = piece.turn_known;
    line.prefix = piece.prefix;
    line.piece_code = static_cast<std::uint8_t>(g.piece_code);
    line.mirror_code = static_cast<std::uint8_t>(g.mirror_code);
    line.tenths_known = g.tenths_known;
    if (g.tenths_known) {
      std::copy(std::begin(g.tenths), std::end(g.tenths), line.tenths);
    } else {
      if (values_.empty()) values_.resize(lines_.size());
      values_[k] = {g.x_origin, g.y_origin, g.x_extent, g.y_extent};
    }
  }
  const PlacementLine& operator[](std::size_t k) const { return lines_[k]; }
  // A hint that line k is about to be set.
  void Prefetch(std::size_t k) const {
#if defined(__GNUC__)
    __builtin_prefetch(&lines_[k], 1);
#else
    (void)k;
#endif
  }
  // x origin, y origin, x extent, y extent of a line without tenths.
  const std::array<double, 4>& Values(std::size_t k) const { return values_[k]; }

 private:
  std::vector<PlacementLine> lines_;
  std::vector<std::array<double, 4>> values_;
};

// Reads the lines' geometry into a batch: the placements in record order, each line to
// its place in the file.
class BatchReader {
 public:
  BatchReader(const PlacementGeometryReader& reader, const PlacementTable& table, const SizeGroups& groups,
              const CStringArray& sizes)
      : reader_(reader), table_(table), groups_(groups), pieces_(table.pieces.size()), next_(groups.size()) {
    // Each piece's group, prefix and code, and its turn when the loader's answers are
    // known already, once.
    for (std::size_t p = 0; p < table.pieces.size(); ++p) {
      if (groups.GroupOfPiece(p) == SizeGroups::kNone) continue;
      PieceLine& piece = pieces_[p];
      piece.group = static_cast<std::uint32_t>(groups.GroupOfPiece(p));
      const std::size_t header = prefixes_.size();
      prefixes_.append(sizeof(std::uint32_t), '\0');
      piece.prefix = static_cast<std::uint32_t>(prefixes_.size());
      placement_line::AppendPrefix(prefixes_, table.NameOfPiece(p), sizes[piece.group]);
      const auto size = static_cast<std::uint32_t>(prefixes_.size() - piece.prefix);
      std::memcpy(prefixes_.data() + header, &size, sizeof size);
      piece.piece_code = static_cast<std::uint8_t>(reader.PieceCode(p));
      const std::uint32_t scale = table.pieces[p].scale;
      if (scale != PlacementTable::kNone) {
        piece.turn = table.scales[scale].rotation / 6.2831853 * 360.0;
        piece.turn_known = true;
      }
    }
    prefixes_.append(placement_line::kPrefixPadding, '\0');
  }

  // The prefix at `prefix` in the pool (PlacementLine::prefix), followed by
  // placement_line::kPrefixPadding bytes that may be read. The pool keeps each prefix's
  // size just before it: a line reaches its prefix in one step.
  std::string_view Prefix(std::uint32_t prefix) const {
    std::uint32_t size = 0;
    std::memcpy(&size, prefixes_.data() + prefix - sizeof size, sizeof size);
    return std::string_view(prefixes_.data() + prefix, size);
  }

  // Reads the geometry of the placements whose place is in [first, first + batch.size()),
  // and with check, of all the others too. The places of the next few placements are
  // known ahead, so that their lines, scattered over the batch, can be fetched early.
  void Fill(LineBatch& batch, std::size_t first, bool check) {
    for (std::size_t i = 0; i < groups_.size(); ++i) next_[i] = groups_.Start(i);
    const std::size_t count = table_.piece_of.size();
    std::uint32_t ahead[kAhead];  // the places of placements j to j + kAhead - 1, by j % kAhead
    for (std::size_t j = 0; j < kAhead && j < count; ++j) ahead[j] = NextPlace(j);
    for (std::size_t j = 0; j < count; ++j) {
      const std::uint32_t place = ahead[j % kAhead];
      if (j + kAhead < count) {
        const std::uint32_t later = NextPlace(j + kAhead);
        ahead[j % kAhead] = later;
        if (later != kNoPlace && later >= first && later - first < batch.size()) batch.Prefetch(later - first);
      }
      if (place == kNoPlace) continue;
      const PieceLine& piece = pieces_[table_.piece_of[j]];
      if (place >= first && place - first < batch.size()) {
        batch.Set(place - first, reader_.ReadWithCode(j, piece.piece_code), piece);
      } else if (check) {
        reader_.ReadWithCode(j, piece.piece_code);
      }
    }
  }

 private:
  static constexpr std::uint32_t kNoPlace = UINT32_MAX;
  static constexpr std::size_t kAhead = 8;

  // The place of placement j, the next one of its group; walked in record order.
  std::uint32_t NextPlace(std::size_t j) {
    const std::uint32_t group = pieces_[table_.piece_of[j]].group;
    return group == PieceLine::kNoGroup ? kNoPlace : static_cast<std::uint32_t>(next_[group]++);
  }

  const PlacementGeometryReader& reader_;
  const PlacementTable& table_;
  const SizeGroups& groups_;
  std::vector<PieceLine> pieces_;
  std::string prefixes_;  // for each piece, the size of its prefix (4 bytes) and the prefix
  std::vector<std::size_t> next_;  // by group: the place of its next placement
};

// Prints line k of batch, the line of placement j, with its piece's prefix and its angle;
// the piece's name and size (in table and size) are for the rare line that the general
// format prints.
void PrintLine(CPrintfFile& file, const PrintfFormat& format, std::string_view prefix, const PlacementTable& table,
               std::uint32_t j, std::string_view size, double angle, const LineBatch& batch, std::size_t k) {
  const PlacementLine& g = batch[k];
  const int piece_code = g.piece_code;
  const int mirror_code = g.mirror_code;
  if (g.tenths_known && file.PutDirect(prefix.size() + placement_line::kRoomAfterPrefix, [&](char* p) {
        return placement_line::PutLine(p, prefix, piece_code, mirror_code, angle, g.tenths);
      })) {
    return;
  }
  const std::string_view name = table.NameOf(j);
  if (g.tenths_known) {  // a prefix longer than the file's buffer
    const auto [x_centre, y_centre, x_extent, y_extent] = placement_line::CentreAndExtent(g.tenths);
    file.Print(format, name, size, piece_code, mirror_code, angle, x_centre, y_centre, x_extent, y_extent, 0);
  } else {
    const auto& [x_origin, y_origin, x_extent, y_extent] = batch.Values(k);
    file.Print(format, name, size, piece_code, mirror_code, angle, x_origin + x_extent * 0.5,
               y_origin + y_extent * 0.5, x_extent, y_extent, 0);
  }
}

}  // namespace

void MarkerDocument::WritePlacementFile(const char* marker_path, const char* output_path) {
  PlacementTable table = ResolvePlacements();
  WritePlacementFile(marker_path, output_path, table);
}

void MarkerDocument::WritePlacementFile(const char* marker_path, const char* output_path, PlacementTable& table) {
  WritePlacementFile(marker_path, output_path, table, SizeGroups(Sizes, table));
}

void MarkerDocument::WritePlacementFile(const char* marker_path, const char* output_path, PlacementTable& table,
                                        const SizeGroups& groups) {
  const CSection* geo = FindSection("IGEO");
  const CSection* pieces = FindSection("IBA");

  // Every line's geometry is read before the file is created, so that a marker that is
  // malformed further down writes nothing. The placements are read in record order, which
  // walks the marker's text once (in the order of the lines it would jump to and fro);
  // should one fail, the walk in the order of the lines finds the failure that writing
  // would meet first. The geometry of a large marker is kept in batches of bounded size:
  // all of it could take more memory than the marker's text.
  static const CSection kNone;  // without placements or pieces every group is empty
  const PlacementGeometryReader reader(*this, geo != nullptr ? *geo : kNone, pieces != nullptr ? *pieces : kNone,
                                       false);
  LineBatch batch(std::min(kGeometryBatchBytes / (sizeof(PlacementLine) + 4 * sizeof(double)), groups.Count()));
  BatchReader batches(reader, table, groups, Sizes);
  try {
    batches.Fill(batch, 0, true);
  } catch (const InvalidArgumentError&) {
    for (std::size_t i = 0; i < groups.size(); ++i) {
      for (std::uint32_t j : groups[i]) reader.Read(j, table.piece_of[j]);
    }
    throw;
  }

  const PrintfFormat line(placement_line::kFormat);
  CPrintfFile file;
  if (!file.Open(output_path)) throw HostFileError(std::string("cannot create ") + output_path);
  std::size_t place = 0;
  std::size_t first = 0;  // the place of batch[0]
  for (std::size_t i = 0; i < Sizes.size(); ++i) {
    const std::string& size = Sizes[i];
    for (std::uint32_t j : groups[i]) {
      if (place - first == batch.size()) {
        first = place;
        batches.Fill(batch, first, false);
      }
      const std::size_t k = place++ - first;
      double angle = batch[k].angle;
      if (!batch[k].turn_known) {  // a loader that is asked every time, in the order of the lines
        double rotation = 0.0;
        double x_scale = 0.0;
        double y_scale = 0.0;
        PieceScale(table, table.piece_of[j], marker_path, &rotation, &x_scale, &y_scale);
        angle = rotation / 6.2831853 * 360.0 + batch[k].angle;
      }
      PrintLine(file, line, batches.Prefix(batch[k].prefix), table, j, size, angle, batch, k);
    }
  }
  file.Close();
}

}  // namespace dorvan_marker
