// SPDX-License-Identifier: MIT
#include "hostfiles/placement_geometry.hpp"

#include <string>

#include "platform/c_numbers.hpp"
#include "platform/quoted.hpp"

namespace dorvan_marker {

double TurnToDegrees(double radians) { return radians / 6.2831853 * 360.0; }

double AngleOfIgrf(double igrf) { return TurnToDegrees(igrf / 3450.0); }

double PlacementAngle(double rounded_angle, double rotation) { return TurnToDegrees(rotation) + rounded_angle; }

int PieceCode(int iflg) { return (iflg == 0 || iflg == 5) ? 16 : iflg == 6 ? 8 : 32; }

bool RoundToHalfDegree(double a, double& rounded) {
  const double halves = a > 0 ? 2.0 * a + 0.5 : 2.0 * a - 0.5;
  // Beyond the 32-bit range the cut to an integer has no defined result.
  if (!(halves > -2147483649.0 && halves < 2147483648.0)) return false;
  rounded = static_cast<int>(halves) * 0.5;
  return true;
}

PlacementGeometryReader::PlacementGeometryReader(const MarkerDocument& document, const CSection& geo)
    : document_(document), geo_(geo), columns_{document.Column(geo, "IXOR"), document.Column(geo, "IYOR"),
                                               document.Column(geo, "IXDI"), document.Column(geo, "IYDI"),
                                               document.Column(geo, "IGRS"), document.Column(geo, "IGRF")} {}

PlacementGeometry PlacementGeometryReader::Read(std::size_t record, int piece_code) const {
  const CElementsArray& placement = geo_[record];
  std::string_view fields[6];  // as columns_
  placement.Columns(columns_, fields);
  PlacementGeometry g;
  g.piece_code = piece_code;

  const int grs = Atoi(fields[4]);
  g.quarter_turn = (grs & 4) != 0;
  static const int kMirror[4] = {0, 2, 1, 3};
  g.mirror_code = kMirror[grs & 3];

  g.x_origin = Atof(fields[0]) / 10.0;
  g.y_origin = Atof(fields[1]) / 10.0;
  g.x_extent = Atof(fields[2]) / 10.0;
  g.y_extent = Atof(fields[3]) / 10.0;

  double a = AngleOfIgrf(Atof(fields[5]));
  const bool mirrored = g.mirror_code == 1 || g.mirror_code == 2;
  if (mirrored) a = -a;
  if (g.quarter_turn) a = mirrored ? a - 90.0 : a + 90.0;
  if (!RoundToHalfDegree(a, g.rounded_angle)) {
    document_.Fail("IGEO", static_cast<long>(record), &placement, "IGRF",
                   Quoted("IGRF") + " " + Quoted(fields[5]) + " gives an angle that cannot be rounded");
  }
  if (g.x_origin < 0 && g.y_origin < 0) g.piece_code = 32;
  return g;
}

}  // namespace dorvan_marker
