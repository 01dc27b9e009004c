// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_support.hpp"

namespace test {

// What a bad-input row needs beyond its files.
enum RowNeeds : unsigned {
  kNothing = 0,
  kHuge = 1u << 0,               // makes a file of 40 MB or more: skipped under the sanitizers
  kUnprivileged = 1u << 1,       // must run as an unprivileged user for permissions to bite
  kOutFolderMissing = 1u << 2,   // the host folder does not exist
  kOutFolderReadOnly = 1u << 3,  // the host folder has no write bits
  kHostFileReadOnly = 1u << 4,   // the command file exists without write bits
};

// How the import of a row ends, by the numbers of ImportDorvanFile.
enum class Outcome : int {
  Imported = 1,      // both host files written
  CannotOpen = 0,    // the marker cannot be opened
  NoModels = -1,     // the marker holds no models
  Malformed = -2,    // the marker is broken; the message says where
  CannotWrite = -3,  // the host files cannot be written; both stay as they were
  BadCall = -6,      // the C face refuses the call before reading anything
  OutOfMemory = -7,  // the memory ran out; ImportDorvanFile gives -3 and says so in its box
};

// How a row calls the C face wrongly. Rows with a fault are the C face's alone; the table's
// other rows reach the C face through the Python module's test (tests/python/).
enum class CallFault {
  kNone,
  kNullMarker,             // marker_path is null
  kNullFolder,             // out_dir is null
  kEmptyNameBuffer,        // name is given with name_size 0
  kEmptyMessageBuffer,     // message is given with message_size 0: the result alone tells
  kOptionsTooSmall,        // options->size below the first version's
  kOptionsFromNewer,       // options->size beyond this version's: read as far as it knows
  kOptionsOfFirstVersion,  // options->size of the first version's: paths in the system's code page
  kUnknownPathEncoding,    // options->path_encoding neither of the two
  kUnknownCodePage,        // options->code_page is "1253", which the library does not offer
};

// How listing a row's model names ends, by the numbers of ReadStyleList.
enum class Styles : int { Listed = 0, NoStyles = 1, CannotOpen = 2, Malformed = 4, OutOfMemory = 8 };

// One bad input and what every level must make of it.
struct BadInput {
  std::string name;                                 // the row's name in failure messages
  std::function<std::string(const TempDir&)> make;  // writes the files; returns the marker path
  Outcome import;                                   // result of the import
  Styles styles;                                    // result of the style list
  std::string message;    // the import's whole message ("{marker}" and "{out}" stand for paths), "" when imported
  std::string placement;  // posimport.txt when imported, "" when not checked
  unsigned needs = kNothing;
  CallFault fault = CallFault::kNone;
};

// The table: every row of the hardening issue.
const std::vector<BadInput>& BadInputs();

// The positions in the table of the rows with a call fault (true) or without (false).
std::vector<std::size_t> RowsWithFault(bool fault);

// Text of what the host folder holds before each row: an earlier import's files.
inline const std::string kOldCommandFile = "=:order\r\no:EARLIER\r\n";
inline const std::string kOldPlacementFile = "EARLIER,S,16,0,0.000000,0.0,0.0,0.0,0.0,0\r\n";

// Makes the host folder (dir / "out") as the row wants it, holding the earlier files.
std::string PrepareOutFolder(const TempDir& dir, const BadInput& row);

// Whether this build leaves the row out: the huge rows take minutes under the sanitizers.
bool SkippedHere(const BadInput& row);

// The unprivileged user that permission rows run as when the tests run as root.
constexpr unsigned kNobody = 65534;

// Hands dir and everything in it to that user, modes unchanged, so that its permissions
// are the ones an ordinary user meets.
void GiveToNobody(const TempDir& dir);

// Replaces every "{marker}" and "{out}" in text.
std::string Expand(std::string text, const std::string& marker, const std::string& out);

// A row's name as a test name: letters and digits only.
std::string RowName(const ::testing::TestParamInfo<std::size_t>& info);

// Whether the rows that need an unprivileged user can run: not root, or root able to
// become "nobody".
bool IsPrivileged();

}  // namespace test
