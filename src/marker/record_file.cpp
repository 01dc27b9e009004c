// SPDX-License-Identifier: MIT
#include "marker/record_file.hpp"

#include <climits>
#include <limits>

#include "marker/record_reader.hpp"
#include "platform/c_numbers.hpp"

namespace dorvan_marker {
namespace {

constexpr std::uint32_t kDenseLimit = 1u << 16;

std::string Quoted(std::string_view text) { return '"' + std::string(text) + '"'; }

}  // namespace

bool IsRecordNumber(std::string_view field) noexcept {
  for (char c : field) {
    if ((c < '0' || c > '9') && c != '.') return false;
  }
  return true;
}

std::string_view CElementsArray::operator[](std::size_t i) const {
  if (i >= count_) ThrowIndexOutside(i, count_);
  return file_->FieldText(start_, first_end_, i);
}

std::string_view RecordFile::FieldText(std::uint32_t start, std::uint32_t first_end, std::size_t index) const noexcept {
  const std::uint32_t begin = index == 0 ? start : field_ends_[first_end + index - 1] + 1;
  const std::uint32_t end = field_ends_[first_end + index];
  return std::string_view(text_.data() + begin, end - begin);
}

std::uint32_t RecordFile::RecordNumber(std::string_view first_field, std::size_t line) const {
  std::uint64_t number = 0;
  for (char c : first_field) {
    if (c == '.') break;
    number = number * 10 + static_cast<std::uint64_t>(c - '0');
    if (number > static_cast<std::uint64_t>(INT_MAX)) {
      throw InvalidArgumentError("record number " + Quoted(first_field) + " does not fit in 32 bits",
                                 ErrorLocation{path_, line, {}, -1, {}});
    }
  }
  return static_cast<std::uint32_t>(number);
}

CSection& RecordFile::SectionFor(std::uint32_t number) {
  if (number >= section_count_) section_count_ = static_cast<std::size_t>(number) + 1;
  if (number < kDenseLimit) {
    while (dense_.size() <= number) dense_.emplace_back(static_cast<std::uint32_t>(dense_.size()));
    return dense_[number];
  }
  return sparse_.try_emplace(number, number).first->second;
}

const CSection* RecordFile::SectionAt(std::size_t number) const {
  if (number >= section_count_) return nullptr;
  if (number < dense_.size()) return &dense_[number];
  const auto found = sparse_.find(static_cast<std::uint32_t>(number));
  return found == sparse_.end() ? &empty_section_ : &found->second;
}

void RecordFile::Parse(TextFile& file) {
  headers_.clear();
  dense_.clear();
  sparse_.clear();
  field_ends_.clear();
  section_count_ = 0;
  headers_.push_back(CElementsArray());

  const char* base = file.Text().data();
  if (file.Text().size() >= std::numeric_limits<std::uint32_t>::max()) {
    throw InvalidArgumentError("the file is larger than 4 GiB", ErrorLocation{path_, 0, {}, -1, {}});
  }
  RecordFields fields;
  while (ReadRecord(file, fields) != 0) {
    const auto line = static_cast<std::uint32_t>(file.LineNumber());
    const auto first_end = static_cast<std::uint32_t>(field_ends_.size());
    for (std::string_view field : fields) {
      field_ends_.push_back(static_cast<std::uint32_t>(field.data() + field.size() - base));
    }
    const CElementsArray record(this, static_cast<std::uint32_t>(fields.front().data() - base), first_end,
                                static_cast<std::uint32_t>(fields.size()), line);
    if (IsRecordNumber(fields.front())) {
      SectionFor(RecordNumber(fields.front(), line)).push_back(record);
    } else {
      headers_.push_back(record);
    }
  }
  text_ = file.TakeText();
  IndexHeaders();
}

// Every look-up of a section or a column names it by its tag; a file of many header records
// or of one very wide one must not make each look-up walk them all.
void RecordFile::IndexHeaders() {
  header_of_tag_.clear();
  column_of_tag_.clear();
  for (std::size_t i = 1; i < headers_.size(); ++i) {
    const CElementsArray& header = headers_.items()[i];
    if (!header.empty()) header_of_tag_.try_emplace(header[0], i);
  }
}

std::size_t RecordFile::FindHeader(std::string_view tag) const noexcept {
  const auto found = header_of_tag_.find(tag);
  return found == header_of_tag_.end() ? 0 : found->second;
}

const CSection* RecordFile::FindSection(std::string_view tag) const {
  const std::size_t index = FindHeader(tag);
  if (index == 0) return nullptr;
  if (const CSection* section = SectionAt(index)) return section;
  throw InvalidArgumentError("header record " + std::to_string(index) + " names section " + Quoted(tag) +
                                 ", but no numbered record carries " + std::to_string(index) +
                                 " or a higher number",
                             ErrorLocation{path_, headers_[index].Line(), std::string(tag), -1, {}});
}

long RecordFile::ColumnOf(std::size_t header, std::string_view tag) const {
  const CElementsArray& record = headers_[header];
  const auto key = std::make_pair(header, std::string(tag));
  if (const auto known = column_of_tag_.find(key); known != column_of_tag_.end()) return known->second;
  long column = -1;
  for (std::size_t c = 0; c < record.size(); ++c) {
    if (record[c] == tag) {
      column = static_cast<long>(c);
      break;
    }
  }
  column_of_tag_.emplace(key, column);
  return column;
}

std::string_view RecordFile::GetFieldValue(const CSection& section, const CElementsArray& record,
                                           std::string_view tag) const {
  const std::size_t number = section.empty() ? 0 : section.Number();
  if (number >= headers_.size()) {
    throw InvalidArgumentError("section " + std::to_string(number) + " has no header record naming its columns",
                               ErrorLocation{path_, record.Line(), {}, -1, std::string(tag)});
  }
  const long column = ColumnOf(number, tag);
  if (column < 0 || static_cast<std::size_t>(column) >= record.size()) return {};
  return record[static_cast<std::size_t>(column)];
}

std::string_view RecordFile::TagOf(const CSection& section) const {
  if (section.empty() || section.Number() >= headers_.size()) return {};
  const CElementsArray& header = headers_[section.Number()];
  return header.empty() ? std::string_view() : header[0];
}

std::vector<std::uint32_t> RecordFile::SectionNumbers() const {
  std::vector<std::uint32_t> numbers;
  for (const CSection& section : dense_) {
    if (!section.empty()) numbers.push_back(section.Number());
  }
  for (const auto& [number, section] : sparse_) {
    if (!section.empty()) numbers.push_back(number);
  }
  return numbers;
}

}  // namespace dorvan_marker
