// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "dorvan_marker/render.hpp"

namespace dorvan_marker {

// The head of a printed page: with a page number, the report's title and "page n of N"
// above the heading (HTML) and its details line (HTML); without, the heading and the
// details alone.
std::string PageHeader(const std::string& heading, const std::string& details, const PageOptions& page);

// The report's title is text of the command line or the caller, which is UTF-8 (the
// command line is carried so on Windows), whatever the markers' code page.
inline const std::string kTitleCodePage = "utf-8";

}  // namespace dorvan_marker
