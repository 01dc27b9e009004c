// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "dorvan_marker/error.hpp"

namespace dorvan_marker {

// The parts of a position in a marker as every message writes them: an error's what(),
// a diagnostic's line and the printed sheet put them together, each in its own frame.

// "jacket.txt:41", or "jacket.txt" when the line is not known.
std::string FileAndLine(const ErrorLocation& where);

// "line 41"; empty when the line is not known.
std::string LineWords(const ErrorLocation& where);

// "\"IBA\" record 7" (records counted from 1), "\"IBA\"" when the record is not known;
// empty when the section is not known.
std::string SectionAndRecord(const ErrorLocation& where);

// The same appended to out: a report of a large marker writes thousands of positions.
void AppendFileAndLine(std::string& out, const ErrorLocation& where);
void AppendSectionAndRecord(std::string& out, const ErrorLocation& where);

}  // namespace dorvan_marker
