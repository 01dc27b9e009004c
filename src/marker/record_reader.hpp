// SPDX-License-Identifier: MIT
#pragma once

#include "marker/record.hpp"
#include "platform/text_file.hpp"

namespace dorvan_marker {

// Reads the next record of file into fields (emptied first in every case): blank lines and
// lines whose very first character is '#' are passed over, trailing white space is cut,
// and the rest is split at every ':' (no quoting; a colon at the end adds no field).
// Returns the number of fields (at least 1), or 0 at the end of the file.
int ReadRecord(TextFile& file, RecordFields& fields);

// Splits one line, already cut of its trailing white space, into fields.
void SplitFields(std::string_view line, RecordFields& fields);

}  // namespace dorvan_marker
