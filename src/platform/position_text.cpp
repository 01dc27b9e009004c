// SPDX-License-Identifier: MIT
#include "platform/position_text.hpp"

#include "platform/decimal_digits.hpp"

namespace dorvan_marker {
namespace {

void AppendNumber(std::string& out, std::size_t number) {
  char digits[24];
  char* const end = digits + sizeof digits;
  const char* const begin = decimal_digits::DigitsBefore(end, number);
  out.append(begin, static_cast<std::size_t>(end - begin));
}

}  // namespace

void AppendFileAndLine(std::string& out, const ErrorLocation& where) {
  out += where.file;
  if (where.line == 0) return;
  out += ':';
  AppendNumber(out, where.line);
}

void AppendSectionAndRecord(std::string& out, const ErrorLocation& where) {
  if (where.section.empty()) return;
  out += '"';
  out += where.section;
  out += '"';
  if (where.record < 0) return;
  out += " record ";
  AppendNumber(out, static_cast<std::size_t>(where.record) + 1);
}

std::string FileAndLine(const ErrorLocation& where) {
  std::string text;
  AppendFileAndLine(text, where);
  return text;
}

std::string LineWords(const ErrorLocation& where) {
  return where.line == 0 ? std::string() : "line " + std::to_string(where.line);
}

std::string SectionAndRecord(const ErrorLocation& where) {
  std::string text;
  AppendSectionAndRecord(text, where);
  return text;
}

}  // namespace dorvan_marker
