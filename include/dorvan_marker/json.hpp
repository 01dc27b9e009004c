// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dorvan_marker/export.h"
#include "dorvan_marker/import.hpp"
#include "dorvan_marker/report.hpp"

namespace dorvan_marker {

// The model names of one marker, as `styles` lists them.
struct MarkerStyles {
  std::string path;                 // the marker path as given
  StyleListResult result;           // how reading the names ended
  std::vector<std::string> styles;  // the names, bytes in the marker's code page
};

// How a marker is cut: the plies spread and the fabric lost at the ends of each. The
// fabric needed and the garments cut are reckoned for them.
struct Cutting {
  int plies = 1;                      // plies of the marker spread, >= 1
  std::int64_t end_allowance_um = 0;  // fabric lost at the two ends of a ply, micrometres, >= 0

  bool Default() const { return plies == 1 && end_allowance_um == 0; }
};

// The fabric one ply of a marker takes, in whole micrometres: its used length (rounded to
// the micrometre, which takes off only the binary fraction's noise) and the end
// allowance. The plan and every report reckon fabric by this one rule. Throws nothing.
DORVAN_MARKER_API std::int64_t FabricPerPlyUm(double used_length_mm, std::int64_t end_allowance_um);
// The longest used length whose fabric is reckoned: 1000 km keeps every sum of micrometres
// of up to 10000 plies far inside 64 bits.
inline constexpr double kLongestReckonedMm = 1e9;
// The fabric cutting's plies of a marker take, in millimetres: plies x FabricPerPlyUm; NaN
// for a used length outside 0 to kLongestReckonedMm. cutting.plies must be 1 to 10000.
DORVAN_MARKER_API double FabricNeededMm(const MarkerReport& report, const Cutting& cutting);

// The documents of `styles --json` and `inspect --json`: one text each, shaped as
// docs/schema/styles-v1.json and docs/schema/inspect-v1.json describe, ended by a line
// feed. code_page is the name CodePageName gives; it says how names are carried (see
// CarriedAsUtf8). Throw nothing but std::bad_alloc.
DORVAN_MARKER_API std::string StylesJson(const std::vector<MarkerStyles>& markers, const std::string& code_page);
DORVAN_MARKER_API std::string InspectJson(const std::vector<MarkerSheet>& reports, const std::string& code_page);
// The same, with the fabric needed and the garments cut reckoned for cutting.
DORVAN_MARKER_API std::string InspectJson(const std::vector<MarkerSheet>& reports, const std::string& code_page,
                                          const Cutting& cutting);

// bytes in the code page named code_page (as CodePageName names it) as the documents carry
// them in UTF-8: a UTF-8 text as it is, each byte that begins no valid sequence becoming
// U+FFFD; any other code page byte for byte, byte b becoming code point b.
DORVAN_MARKER_API std::string CarriedAsUtf8(std::string_view bytes, const std::string& code_page);

// The words the documents, and the command line's text, give for a status and a severity:
// OutcomeWord of the status's outcome for the style list and for the report ("listed",
// "no-styles", "read", "no-models", "cannot-open", "malformed", "loader-unusable",
// "out-of-memory"); "warning", "error".
DORVAN_MARKER_API const char* StatusName(StyleListStatus status);
DORVAN_MARKER_API const char* StatusName(ReportStatus status);
DORVAN_MARKER_API const char* SeverityName(Severity severity);

}  // namespace dorvan_marker
