// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <exception>
#include <string>

#include "dorvan_marker/export.h"

namespace dorvan_marker {

// Where in a marker (or model) file something went wrong. Every part is optional: an
// empty text or a zero line means "not known".
struct ErrorLocation {
  std::string file;      // path of the file as the caller gave it
  std::size_t line = 0;  // 1-based line of the record in that file, 0 when unknown
  std::string section;   // section tag, e.g. "IBA"
  long record = -1;      // 0-based position of the record in its section, -1 when unknown
  std::string field;     // field tag, e.g. "VNUM"
};

// The one error the library raises when a file is structurally broken: a reference that
// points outside its section, a number that does not fit, an index outside an array.
// what() reads like a compiler message:
//   jacket.txt:41: "IBA" record 7: "VNUM" 0 points outside the 5 articles
class DORVAN_MARKER_API InvalidArgumentError : public std::exception {
 public:
  InvalidArgumentError(std::string detail, ErrorLocation where = {});

  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Detail() const noexcept { return detail_; }  // the words without position
  const ErrorLocation& Where() const noexcept { return where_; }  // the position

  // Fills in the file when the raising code did not know it; the message is rebuilt.
  void SetFileIfUnknown(const std::string& file);

 private:
  void Compose();

  std::string detail_;
  ErrorLocation where_;
  std::string message_;
};

// The host files could not be created, written or put in place. Distinct from
// InvalidArgumentError because the marker itself is fine.
class DORVAN_MARKER_API HostFileError : public std::exception {
 public:
  explicit HostFileError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

}  // namespace dorvan_marker
