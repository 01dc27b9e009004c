// SPDX-License-Identifier: MIT
#include "report/diagnostic_list.hpp"

namespace dorvan_marker {

Diagnostic& DiagnosticList::Add(Severity severity, const char* code, std::size_t line, std::string_view section,
                                long position, std::string_view field, std::string message) {
  // Filled where it stays: a large marker has thousands, each a handful of texts.
  Diagnostic& diagnostic = out_.emplace_back();
  diagnostic.severity = severity;
  diagnostic.code = code;
  diagnostic.where.file = document_.Path();
  diagnostic.where.line = line;
  diagnostic.where.section = section;
  diagnostic.where.record = position;
  diagnostic.where.field = field;
  diagnostic.message = std::move(message);
  return diagnostic;
}

void DiagnosticList::AddFailure(const Failure& failure) {
  if (failure.kind == Failure::Kind::LoaderUnusable) {  // about the plug-in, which its message names
    Add(Severity::Error, diagnostic_code::kLoaderUnusable, 0, {}, -1, {}, failure.detail);
    return;
  }
  if (failure.kind == Failure::Kind::OutOfMemory) {  // about no place in the marker
    Add(Severity::Error, diagnostic_code::kOutOfMemory, 0, {}, -1, {}, failure.detail);
    return;
  }
  const ErrorLocation& where = failure.where;
  std::size_t line = where.line;
  if (line == 0 && !where.section.empty()) line = HeaderLine(where.section);
  Add(Severity::Error, diagnostic_code::kMalformed, line, where.section, where.record, where.field, failure.detail);
}

std::size_t DiagnosticList::HeaderLine(std::string_view tag) const {
  const std::size_t header = document_.Records().FindHeader(tag);
  return header == 0 ? 0 : document_.HeaderRecords()[header].Line();
}

}  // namespace dorvan_marker
