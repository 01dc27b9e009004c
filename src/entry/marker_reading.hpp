// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "dorvan_marker/import.hpp"
#include "marker/marker_document.hpp"

namespace dorvan_marker {

// The code page a caller asked for ("" for the system's). Unknown names raise
// InvalidArgumentError.
CodePage CodePageOf(const ImportOptions& options);

// How the caller's paths are written (on Windows as options say; elsewhere always bytes).
PathEncoding PathsOf(const ImportOptions& options);

// Opens the marker file of document as text, with no sharing, and parses it into the
// document. False when the file cannot be opened (on Windows also while another handle to
// it exists) or read, with why in the system's words; a malformed file raises
// InvalidArgumentError.
bool ReadMarker(MarkerDocument& document, std::string& why);

// "cannot open <path>: <why>"
std::string CannotOpenMessage(const std::string& path, const std::string& why);

// Appends the distinct "VNMD" values of the "VMDL" records that names lacks yet, in order
// of first appearance.
void AppendStyleNames(const MarkerDocument& document, std::vector<std::string>& names);

// "<text> is an invalid Dorvan marker file.  No models were found."
std::string NoModelsMessage(const std::string& text);

}  // namespace dorvan_marker
