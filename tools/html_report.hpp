// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

#include "dorvan_marker/report.hpp"

namespace cli {

// The paper the report is printed on, always in landscape.
enum class Paper { kA4, kLetter };

// One marker's printed page, as a <section> of the report: its picture (render's SVG,
// inside the page as data), its figures, sizes, styles and every diagnostic; for a marker
// that cannot be read, why not. Whatever a page cannot hold is counted on it instead of
// being cut off, so that the page is always one sheet of paper.
std::string MarkerPage(const dorvan_marker::MarkerSheet& report);

// The report is one HTML document that needs nothing outside it (no script, font, style
// sheet or picture from elsewhere): ReportHead, the pages of the markers in order, each
// printed on one landscape sheet of `paper`, then ReportTail.
std::string ReportHead(std::size_t markers, Paper paper);
const char* ReportTail();

}  // namespace cli
