// SPDX-License-Identifier: MIT
#pragma once

#include "dorvan_marker/dorvan_marker_c.h"
#include "dorvan_marker/export.h"

namespace dorvan_marker {

// How a call of the library ended: one vocabulary for every face. The numbers are the C
// face's results (DORVAN_MARKER_*), which the first six share with ImportDorvanFile. The
// enumerations of version 1.0 (ImportStatus, StyleListStatus, ReportStatus) stay as they
// were; OutcomeOf (import.hpp, report.hpp) gives the outcome each of their values means.
enum class Outcome : int {
  Done = DORVAN_MARKER_OK,                          // the work is done
  CannotOpen = DORVAN_MARKER_CANNOT_OPEN,           // the marker file cannot be opened or read
  NoModels = DORVAN_MARKER_NO_MODELS,               // no models (the style list: no "VMDL" records)
  Malformed = DORVAN_MARKER_MALFORMED,              // the marker is broken; the message says where
  CannotWrite = DORVAN_MARKER_CANNOT_WRITE,         // the host files cannot be written or put in place
  LoaderUnusable = DORVAN_MARKER_LOADER_UNUSABLE,   // the loader plug-in cannot serve
  BufferTooSmall = DORVAN_MARKER_BUFFER_TOO_SMALL,  // the caller's buffer cannot hold the text
  BadCall = DORVAN_MARKER_BAD_CALL,                 // the caller's arguments are refused before any work
  OutOfMemory = DORVAN_MARKER_OUT_OF_MEMORY,        // the memory ran out: no fault of the marker
};

// What a call was asked to do. The documents of version 1 give success, and a style
// list's lack of names, words of their own; every other outcome has one word.
enum class Task : int {
  ListStyles,  // the model names (styles, GetStyleList)
  Import,      // the host files (import, ImportDorvanFile)
  Inspect,     // the report (inspect, render, report)
};

// The word for an outcome of a task, as the JSON documents and the command line's tables
// give it: "listed", "imported" or "read" for Done; "no-styles" for NoModels of
// ListStyles, else "no-models"; "cannot-open", "malformed", "cannot-write",
// "loader-unusable", "buffer-too-small", "bad-call", "out-of-memory". Never null; a number
// outside Outcome gives "unknown". Throws nothing.
DORVAN_MARKER_API const char* OutcomeWord(Outcome outcome, Task task) noexcept;

}  // namespace dorvan_marker
