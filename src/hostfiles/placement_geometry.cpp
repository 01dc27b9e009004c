// SPDX-License-Identifier: MIT
#include "hostfiles/placement_geometry.hpp"

#include <cmath>
#include <string>

#include "platform/c_numbers.hpp"

namespace dorvan_marker {

double AngleOfIgrf(double igrf) { return igrf / 3450.0 / 6.2831853 * 360.0; }

bool RoundToHalfDegree(double a, double& rounded) {
  const double halves = a > 0 ? 2.0 * a + 0.5 : 2.0 * a - 0.5;
  // Beyond the 32-bit range the cut to an integer has no defined result.
  if (!(halves > -2147483649.0 && halves < 2147483648.0)) return false;
  rounded = static_cast<int>(halves) * 0.5;
  return true;
}

PlacementGeometryReader::PlacementGeometryReader(const MarkerDocument& document, const CSection& geo,
                                                 const CSection& pieces, bool values)
    : document_(document),
      geo_(geo),
      pieces_(pieces),
      flags_(document.Column(pieces, "IFLG")),
      columns_{document.Column(geo, "IXOR"), document.Column(geo, "IYOR"), document.Column(geo, "IXDI"),
               document.Column(geo, "IYDI"), document.Column(geo, "IGRS"), document.Column(geo, "IGRF")},
      values_(values),
      text_(document.Records().TextBegin()) {}

int PlacementGeometryReader::PieceCode(std::size_t piece) const {
  const int flags = Atoi(flags_.Of(pieces_[piece]));
  return (flags == 0 || flags == 5) ? 16 : flags == 6 ? 8 : 32;
}

namespace {

// A plain integer field of up to nine digits (see c_numbers_detail::PlainInteger), and not
// "-0", which reads as minus zero; text from readable_from on may be read.
bool PlainTenths(std::string_view field, std::int64_t& value, const char* readable_from) {
  return c_numbers_detail::PlainInteger(field, 9, value, readable_from) && !(value == 0 && field[0] == '-');
}

}  // namespace

PlacementGeometry PlacementGeometryReader::ReadWithCode(std::size_t record, int piece_code) const {
  const CElementsArray& placement = geo_[record];
  std::string_view fields[6];  // as columns_
  placement.Columns(columns_, fields);
  PlacementGeometry g;
  g.piece_code = piece_code;

  const int grs = Atoi(fields[4]);
  g.quarter_turn = (grs & 4) != 0;
  static const int kMirror[4] = {0, 2, 1, 3};
  g.mirror_code = kMirror[grs & 3];

  g.tenths_known = true;
  for (int k = 0; k < 4 && g.tenths_known; ++k) {
    std::int64_t value = 0;
    g.tenths_known = PlainTenths(fields[k], value, text_);
    g.tenths[k] = static_cast<std::int32_t>(value);
  }
  double* const values[4] = {&g.x_origin, &g.y_origin, &g.x_extent, &g.y_extent};
  for (int k = 0; k < 4 && (values_ || !g.tenths_known); ++k) {
    // Atof of a plain integer is that integer: the same double either way.
    *values[k] = (g.tenths_known ? static_cast<double>(g.tenths[k]) : Atof(fields[k])) / 10.0;
  }

  // Most markers write "IGRF" as an integer too, whose double Atof gives exactly.
  std::int64_t igrf = 0;
  double a = AngleOfIgrf(PlainTenths(fields[5], igrf, text_) ? static_cast<double>(igrf) : Atof(fields[5]));
  const bool mirrored = g.mirror_code == 1 || g.mirror_code == 2;
  if (mirrored) a = -a;
  if (g.quarter_turn) a = mirrored ? a - 90.0 : a + 90.0;
  if (!RoundToHalfDegree(a, g.rounded_angle)) {
    document_.Fail("IGEO", static_cast<long>(record), &placement, "IGRF",
                   "\"IGRF\" \"" + std::string(fields[5]) + "\" gives an angle that cannot be rounded");
  }
  const bool left_and_below = g.tenths_known ? g.tenths[0] < 0 && g.tenths[1] < 0 : g.x_origin < 0 && g.y_origin < 0;
  if (left_and_below) g.piece_code = 32;
  return g;
}

PlacementGeometry ReadPlacementGeometry(const MarkerDocument& document, const CSection& geo, std::size_t record,
                                        const CSection& pieces, std::size_t piece) {
  return PlacementGeometryReader(document, geo, pieces).Read(record, piece);
}

}  // namespace dorvan_marker
