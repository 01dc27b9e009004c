// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "dorvan_marker/export.h"
#include "dorvan_marker/outcome.hpp"
#include "dorvan_marker/path_encoding.hpp"

namespace dorvan_marker {

// How an import ended, as version 1.0 names it: the numbers of Outcome, which the first six
// share with ImportDorvanFile.
enum class ImportStatus : int {
  Imported = 1,         // both host files written
  CannotOpen = 0,       // the marker file cannot be opened or read
  NoModels = -1,        // the marker lacks one of "IGEO", "IBA", "VART" and "VVET"/"VMDL"
  Malformed = -2,       // a reference or number in the marker is broken; see message
  CannotWrite = -3,     // the host files cannot be created, written or put in place
  LoaderUnusable = -4,  // the loader plug-in cannot serve; see message (docs/loader-plugin.md)
  OutOfMemory = -7,     // the memory ran out; the host files are as they were
};

// The outcome an import's status means. Throws nothing.
constexpr Outcome OutcomeOf(ImportStatus status) noexcept { return static_cast<Outcome>(status); }

// Where the two host files go.
struct HostFilePaths {
  std::string command_file;    // model and order command file (csvimprt.txt)
  std::string placement_file;  // piece placement file (posimport.txt)
};

// The two host files in folder: folder, a separator unless folder ends in one ('\' or
// '/' on Windows, '/' elsewhere), then csvimprt.txt or posimport.txt. The second byte of a
// double-byte character of the system's code page is never taken for a separator; a folder
// ending in a drive ("c:") gets no separator. An empty folder names the current one.
DORVAN_MARKER_API HostFilePaths HostFilePathsIn(const std::string& folder);
// The same for a folder written as paths says: a UTF-8 folder is read as UTF-8, whatever
// the system's code page.
DORVAN_MARKER_API HostFilePaths HostFilePathsIn(const std::string& folder, PathEncoding paths);

// The fixed places the host reads: c:\userroot\temp\... on Windows,
// /userroot/temp/... elsewhere.
DORVAN_MARKER_API HostFilePaths FixedHostFilePaths();

// The code page names ImportOptions takes: "1252", "932", "936", "949", "950" and "utf-8".
// OfferedCodePage gives the one that requested asks for, letter case aside, with "cp" before
// a number and "utf8" allowed; empty when it asks for none of them. UnknownCodePage gives
// the words that refuse requested, naming the accepted names:
//   unknown code page "1253" (1252, 932, 936, 949, 950 or utf-8)
// Both throw nothing but std::bad_alloc.
DORVAN_MARKER_API std::string OfferedCodePage(const std::string& requested);
DORVAN_MARKER_API std::string UnknownCodePage(const std::string& requested);

struct ImportOptions {
  std::string code_page;  // "" for the system's, else a name OfferedCodePage accepts
  // The file of a loader plug-in that answers the model-file queries; "" for the one that
  // the environment variable DORVAN_MARKER_LOADER names, else the library's own loader.
  std::string loader;
#if defined(_WIN32)
  // How the marker path, the host files' paths and loader are written; the model files'
  // paths follow the marker's. Windows only: elsewhere paths are bytes, and the layout of
  // this struct is the one programs built against version 1.0 rely on.
  PathEncoding paths = PathEncoding::System;
#endif
};

struct ImportResult {
  ImportStatus status = ImportStatus::CannotOpen;  // how it ended
  std::string title;                               // the marker's name, set when Imported
  std::string message;                             // what went wrong, empty when Imported
};

// Imports the marker at marker_path into the two files of `out`. Throws nothing: every
// failure is a status with a message that names the file (and where it applies the line,
// section, record and field). Both host files are replaced together only when the whole
// import succeeded; on any other status they are exactly as they were. May be called from
// several threads at once; imports into one folder replace their pairs one at a time
// (docs/host-files.md). A loader plug-in is loaded only for a marker that can be opened,
// is well formed and has models, and is unloaded before the call returns.
DORVAN_MARKER_API ImportResult ImportMarker(const std::string& marker_path, const HostFilePaths& out,
                                            const ImportOptions& options = {});
// The same, and placements receives the lines of the placement file when Imported (0
// otherwise). Apart from ImportResult, whose layout programs built against version 1.0
// rely on.
DORVAN_MARKER_API ImportResult ImportMarker(const std::string& marker_path, const HostFilePaths& out,
                                            const ImportOptions& options, std::size_t& placements);

// How reading a marker's model names ended, as version 1.0 names it (the numbers are the
// command line's exit codes).
enum class StyleListStatus : int {
  Listed = 0,       // the marker has "VMDL" records; their names were appended
  NoStyles = 1,     // readable, but no "VMDL" section or no records in it
  CannotOpen = 2,   // the file cannot be opened or read
  Malformed = 4,    // structurally broken; see message
  OutOfMemory = 8,  // the memory ran out; see message
};

// The outcome a style list's status means (NoModels for NoStyles); BadCall for a number
// that names no status. Throws nothing.
DORVAN_MARKER_API Outcome OutcomeOf(StyleListStatus status) noexcept;

struct StyleListResult {
  StyleListStatus status = StyleListStatus::CannotOpen;  // how it ended
  std::string message;                                   // what went wrong
};

// Appends the marker's distinct model names ("VNMD" of "VMDL") that styles does not hold
// yet, in order of first appearance. styles is unchanged unless the status is Listed.
DORVAN_MARKER_API StyleListResult ReadStyleList(const std::string& marker_path, std::vector<std::string>& styles,
                                                const ImportOptions& options = {});

// The library's version, "MAJOR.MINOR.PATCH".
DORVAN_MARKER_API const char* Version();

}  // namespace dorvan_marker
