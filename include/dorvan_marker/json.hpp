// SPDX-License-Identifier: MIT
#pragma once

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

// The documents of `styles --json` and `inspect --json`: one text each, shaped as
// docs/schema/styles-v1.json and docs/schema/inspect-v1.json describe, ended by a line
// feed. code_page is the name CodePageName gives; it says how names are carried (see
// CarriedAsUtf8). Throw nothing but std::bad_alloc.
DORVAN_MARKER_API std::string StylesJson(const std::vector<MarkerStyles>& markers, const std::string& code_page);
DORVAN_MARKER_API std::string InspectJson(const std::vector<MarkerSheet>& reports, const std::string& code_page);

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
