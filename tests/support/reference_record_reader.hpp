// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/text_file.hpp"

namespace test {

// The marker's record syntax read the plain way, one line at a time: a reference that the
// library's one-pass reader (RecordFile::Parse) is compared with.
//
// Reads the next record of file into fields (emptied first in every case): blank lines
// and lines whose very first character is '#' are passed over, trailing white space is
// cut, and the rest is split at every ':' (no quoting; a colon at the end adds no field).
// Returns the number of fields (at least 1), or 0 at the end of the file.
int ReadRecord(dorvan_marker::TextFile& file, std::vector<std::string_view>& fields);

// Every record of text as "line|field|field|...", in file order: by ReadRecord, and by
// RecordFile::Parse with its headers and sections put back in file order. The two must
// be equal for every text.
std::vector<std::string> ReadLineByLine(const std::string& text);
std::vector<std::string> ReadWhole(const std::string& text);

}  // namespace test
