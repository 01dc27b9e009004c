// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

#include "marker/marker_document.hpp"

namespace dorvan_marker {

// What a placement record says about where and how a piece lies.
struct PlacementGeometry {
  int piece_code = 16;        // 16, 8 or 32 from the piece's "IFLG" and the origin
  int mirror_code = 0;        // 0..3 from "IGRS", with 1 and 2 exchanged
  bool quarter_turn = false;  // bit value 4 of "IGRS"
  double x_origin = 0.0;      // "IXOR" / 10
  double y_origin = 0.0;      // "IYOR" / 10
  double x_extent = 0.0;      // "IXDI" / 10
  double y_extent = 0.0;      // "IYDI" / 10
  double rounded_angle = 0.0; // degrees, rounded to a half degree, before the model's rotation
  // Set when "IXOR", "IYOR", "IXDI" and "IYDI" are plain integers of up to nine digits
  // (most markers write nothing else): the four fields themselves, in tenths of the
  // values above, which the writer turns into text without a detour through doubles.
  bool tenths_known = false;
  std::int32_t tenths[4] = {};  // x origin, y origin, x extent, y extent
};

// The angle in degrees of "IGRF": 3450 x 6.2831853 units make a full turn. The divisor is
// the eight-digit 6.2831853 the files were written with, not full-precision 2 pi.
double AngleOfIgrf(double igrf);

// a rounded to a half degree, halves away from zero. False when a is not a number or so
// large that the count of half degrees leaves the 32-bit range.
bool RoundToHalfDegree(double a, double& rounded);

// Reads the geometry of many placements, with the columns of "IGEO" and "IBA" looked up
// once.
class PlacementGeometryReader {
 public:
  // Without values, a placement whose tenths are known leaves x_origin, y_origin,
  // x_extent and y_extent at 0.0: a reader that prints the tenths has no use for them.
  PlacementGeometryReader(const MarkerDocument& document, const CSection& geo, const CSection& pieces,
                          bool values = true);

  // Placement record `record` of geo and its piece record `piece` of pieces. Raises
  // InvalidArgumentError for an angle that cannot be rounded (not a number, or beyond
  // +-1073741823 degrees).
  PlacementGeometry Read(std::size_t record, std::size_t piece) const { return ReadWithCode(record, PieceCode(piece)); }

  // The piece code of piece record `piece` before the origin is known (16, 8 or 32 from
  // its "IFLG"): what Read takes from the piece record, for a caller that reads it once
  // per piece.
  int PieceCode(std::size_t piece) const;
  // Read with the piece's PieceCode already known.
  PlacementGeometry ReadWithCode(std::size_t record, int piece_code) const;

 private:
  const MarkerDocument& document_;
  const CSection& geo_;
  const CSection& pieces_;
  FieldColumn flags_;
  // "IXOR", "IYOR", "IXDI", "IYDI", "IGRS" and "IGRF" of "IGEO", in this order.
  FieldColumn columns_[6];
  bool values_ = true;
  const char* text_;  // the marker's text, which every field is a view into
};

// One placement's geometry (see PlacementGeometryReader::Read).
PlacementGeometry ReadPlacementGeometry(const MarkerDocument& document, const CSection& geo, std::size_t record,
                                        const CSection& pieces, std::size_t piece);

}  // namespace dorvan_marker
