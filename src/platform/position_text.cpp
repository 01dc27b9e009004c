// SPDX-License-Identifier: MIT
#include "platform/position_text.hpp"

namespace dorvan_marker {

std::string FileAndLine(const ErrorLocation& where) {
  return where.line == 0 ? where.file : where.file + ':' + std::to_string(where.line);
}

std::string LineWords(const ErrorLocation& where) {
  return where.line == 0 ? std::string() : "line " + std::to_string(where.line);
}

std::string SectionAndRecord(const ErrorLocation& where) {
  if (where.section.empty()) return {};
  std::string text = '"' + where.section + '"';
  if (where.record >= 0) text += " record " + std::to_string(where.record + 1);
  return text;
}

}  // namespace dorvan_marker
