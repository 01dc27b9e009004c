// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

#include "marker/marker_document.hpp"

namespace dorvan_marker {

// What a placement record says about where and how a piece lies.
struct PlacementGeometry {
  int piece_code = 16;         // 16, 8 or 32 from the piece's "IFLG" and the origin
  int mirror_code = 0;         // 0..3 from "IGRS", with 1 and 2 exchanged
  bool quarter_turn = false;   // bit value 4 of "IGRS"
  double x_origin = 0.0;       // "IXOR" / 10
  double y_origin = 0.0;       // "IYOR" / 10
  double x_extent = 0.0;       // "IXDI" / 10
  double y_extent = 0.0;       // "IYDI" / 10
  double rounded_angle = 0.0;  // degrees, rounded to a half degree, before the model's rotation
};

// Degrees of a turn given in radians, as the host files write them: divided by the
// eight-digit 6.2831853 the vendor's files were written with, not by full-precision 2 pi,
// and then multiplied by 360. Every angle the library prints goes through here.
double TurnToDegrees(double radians);

// The angle in degrees of "IGRF": 3450 units make one radian.
double AngleOfIgrf(double igrf);

// The angle the placement file writes for a placement: its rounded angle plus the model
// file's rotation of the piece (radians), which is itself not rounded.
double PlacementAngle(double rounded_angle, double rotation);

// The piece code that a piece's "IFLG" gives it: 0 or 5 give 16, 6 gives 8, anything else
// 32. A placement whose origin lies left of and below the fabric makes it 32 as well.
int PieceCode(int iflg);

// a rounded to a half degree, halves away from zero. False when a is not a number or so
// large that the count of half degrees leaves the 32-bit range.
bool RoundToHalfDegree(double a, double& rounded);

// Reads the geometry of many placements, with the columns of "IGEO" looked up once.
class PlacementGeometryReader {
 public:
  PlacementGeometryReader(const MarkerDocument& document, const CSection& geo);

  // Placement record `record` of geo, whose piece has the code piece_code (PieceCode of its
  // "IFLG"). Raises InvalidArgumentError for an angle that cannot be rounded (not a
  // number, or beyond +-1073741823 degrees).
  PlacementGeometry Read(std::size_t record, int piece_code) const;

 private:
  const MarkerDocument& document_;
  const CSection& geo_;
  // "IXOR", "IYOR", "IXDI", "IYDI", "IGRS" and "IGRF" of "IGEO", in this order.
  FieldColumn columns_[6];
};

}  // namespace dorvan_marker
