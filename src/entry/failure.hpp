// SPDX-License-Identifier: MIT
#pragma once

#include <exception>
#include <optional>
#include <string>

#include "dorvan_marker/error.hpp"

namespace dorvan_marker {

// How a call ended that raised, in the terms every entry point reports in: the one place
// where the library's errors become results.
struct Failure {
  enum class Kind {
    Malformed,       // the marker is broken (or something unforeseen went wrong while reading it)
    CannotWrite,     // the host files cannot be created, written or put in place
    LoaderUnusable,  // the loader plug-in cannot serve (the marker may be fine)
    OutOfMemory,     // the memory ran out: no fault of the marker, which names no place
  };
  Kind kind = Kind::Malformed;
  ErrorLocation where;  // file (the marker's when the error named none), line, section, record, field
  std::string detail;   // the words without the position
  std::string message;  // the whole message, like a compiler's: where, then the words
};

// What the exception in flight (std::current_exception) means: InvalidArgumentError,
// placed in marker_path when it named no file; HostFileError; LoaderPluginError; out of
// memory, whose message names marker_path as what was being read, never as at fault;
// anything else as a malformed marker, so that nothing ever leaves the library.
Failure CurrentFailure(const std::string& marker_path);

// Runs body; whatever it raises becomes the Failure it returns.
template <typename Body>
std::optional<Failure> Guarded(const std::string& marker_path, Body&& body) {
  try {
    body();
    return std::nullopt;
  } catch (...) {
    return CurrentFailure(marker_path);
  }
}

}  // namespace dorvan_marker
