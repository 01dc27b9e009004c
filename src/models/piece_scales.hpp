// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "marker/marker_document.hpp"
#include "models/piece_reference.hpp"

namespace dorvan_marker {

// A piece's rotation and scale as GetPieceRotationScale gives them with every output preset
// to 0.0.
struct PieceScale {
  double rotation = 0.0;   // radians
  double x_percent = 0.0;  // (1 / factor - 1) x 100
  double y_percent = 0.0;
};

// The rotation and scale of the marker's pieces, for every step that needs them (both
// host files and the report). This is the one place that knows whether the loader repeats
// its answers (VariantLoad::RepeatsAnswers):
// - a loader that does is asked each distinct query once per import: the pieces of one
//   model laid in many sizes ask the same question, and a piece laid twice asks it twice;
// - any other loader is asked at every call, so that it sees every query, in the order
//   the steps make them.
class PieceScales {
 public:
  // The document and its loader must outlive this object.
  explicit PieceScales(const MarkerDocument& document);

  // The scale of piece record `piece` (its position in "IBA"). Raises what
  // GetPieceRotationScale raises.
  PieceScale Of(std::size_t piece);

  // Tells that the steps will ask for the pieces whose entry in `wanted` (by piece record)
  // is true. A loader that repeats its answers is asked for them now, in the order of the
  // piece records, which reads the marker front to back where the steps would jump to and
  // fro; any other loader is left to be asked when the steps need it.
  void AskAhead(const std::vector<bool>& wanted);

 private:
  static constexpr std::uint32_t kUnknown = UINT32_MAX;

  PieceScale Ask(std::size_t piece) const;
  // The loader's query that decides piece's scale, as a number: which file and "VGFN" its
  // article leads to, and its piece number or key. False when the piece or its article is
  // out of reach (Ask then raises about it).
  bool QueryOf(std::size_t piece, std::uint64_t& query);
  struct Route {
    std::uint32_t number = kUnknown;  // equal for articles whose pieces ask the same file the same way
    bool by_number = false;           // pieces asked by number (kind "MDL"), else by key
  };
  const Route& RouteOf(std::size_t article);

  const MarkerDocument& document_;
  const CSection& pieces_;    // an empty section when the marker has none
  const CSection& articles_;  // the same
  PieceColumns columns_;
  bool repeats_;
  std::vector<std::uint32_t> scale_of_piece_;  // by piece record: a position in scales_
  std::vector<PieceScale> scales_;
  std::unordered_map<std::uint64_t, std::uint32_t> scale_of_query_;
  std::vector<Route> route_of_article_;
  std::unordered_map<std::string, std::uint32_t> routes_;     // route text -> number
  std::unordered_map<std::string_view, std::uint32_t> keys_;  // "IART" -> number
};

}  // namespace dorvan_marker
