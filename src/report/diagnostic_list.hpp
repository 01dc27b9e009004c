// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dorvan_marker/report.hpp"
#include "entry/failure.hpp"
#include "marker/marker_document.hpp"
#include "platform/quoted.hpp"

namespace dorvan_marker {

// The diagnostics of one report, each placed in the marker like an error of the import.
class DiagnosticList {
 public:
  DiagnosticList(const MarkerDocument& document, std::vector<Diagnostic>& out) : document_(document), out_(out) {}

  // A diagnostic about field `field` of record `position` (0-based, -1 for none) of the
  // section tagged `section`, on `line` of the marker.
  Diagnostic& Add(Severity severity, const char* code, std::size_t line, std::string_view section, long position,
                  std::string_view field, std::string message);

  // The same, about a record of the document.
  Diagnostic& Add(Severity severity, const char* code, std::string_view section, long position,
                  const CElementsArray& record, std::string_view field, std::string message) {
    return Add(severity, code, record.Line(), section, position, field, std::move(message));
  }

  // Makes room for `more` diagnostics at once: a large marker may have thousands, which
  // would otherwise be moved each time the list grows.
  void Expect(std::size_t more) { out_.reserve(out_.size() + more); }

  // How the import's road ended when a step raised; a line the error did not know is
  // taken from its section's header record. A loader plug-in that cannot serve is placed
  // nowhere in the marker.
  void AddFailure(const Failure& failure);

  // The line of the header record of the section tagged tag; 0 when there is none.
  std::size_t HeaderLine(std::string_view tag) const;

 private:
  const MarkerDocument& document_;
  std::vector<Diagnostic>& out_;
};

}  // namespace dorvan_marker
