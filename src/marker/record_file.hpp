// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "marker/record.hpp"
#include "platform/text_file.hpp"

namespace dorvan_marker {

// A file of colon-separated records as read into memory: its header records (which give
// a section its tag and name its columns) and its numbered sections. Markers and model
// files share this form and its lookups.
//
// Records are views into the file's text, so a RecordFile is neither copied nor moved.
class RecordFile {
 public:
  explicit RecordFile(std::string path = {}) : path_(std::move(path)) {}
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  // Reads every record of file (from its current position to its end). Header record k
  // of the file lands at HeaderRecords()[k]; index 0 is an empty record. A numbered
  // record whose number does not fit in 32 bits raises InvalidArgumentError.
  void Parse(TextFile& file);

  const std::string& Path() const noexcept { return path_; }
  std::size_t TextSize() const noexcept { return text_.size(); }  // bytes read, up to a 0x1A
  const CheckedArray<CElementsArray>& HeaderRecords() const noexcept { return headers_; }

  // Largest record number read plus one (0 when there is none). Sections are stored
  // sparsely: numbers that never occur take no memory.
  std::size_t SectionCount() const noexcept { return section_count_; }

  // Section number (empty when no record carries it); null when number >= SectionCount().
  const CSection* SectionAt(std::size_t number) const;

  // The section of the first header record whose tag equals tag exactly, or null. Raises
  // InvalidArgumentError when that header's number is beyond every numbered record.
  const CSection* FindSection(std::string_view tag) const;

  // The header record index of the first header with this tag, or 0 when there is none.
  std::size_t FindHeader(std::string_view tag) const noexcept;

  // The value of column `tag` in record of section, or an empty view when the header
  // lacks the column or the record is shorter. Raises InvalidArgumentError when the
  // section's number names no header record.
  std::string_view GetFieldValue(const CSection& section, const CElementsArray& record, std::string_view tag) const;

  // Column index of tag in header record number, or -1.
  long ColumnOf(std::size_t header, std::string_view tag) const;

  // Field `index` of a record given by its start and the place of its first field end.
  std::string_view FieldText(std::uint32_t start, std::uint32_t first_end, std::size_t index) const noexcept;

  // Section tag of a section (the tag of its header record), or empty.
  std::string_view TagOf(const CSection& section) const;

  // The numbers of the sections that hold at least one record, ascending. Walks only the
  // sections read, so a lone record numbered two billion costs nothing.
  std::vector<std::uint32_t> SectionNumbers() const;

 private:
  CSection& SectionFor(std::uint32_t number);
  void IndexHeaders();
  std::uint32_t RecordNumber(std::string_view first_field, std::size_t line) const;

  std::string path_;
  std::string text_;
  std::vector<std::uint32_t> field_ends_;
  CheckedArray<CElementsArray> headers_;
  std::vector<CSection> dense_;                   // sections 0 .. kDenseLimit-1
  std::map<std::uint32_t, CSection> sparse_;      // sections from kDenseLimit up
  std::size_t section_count_ = 0;
  CSection empty_section_;
  std::unordered_map<std::string_view, std::size_t> header_of_tag_;  // first header per tag
  mutable std::map<std::pair<std::size_t, std::string>, long> column_of_tag_;  // ColumnOf's answers
};

// True when every character of field is one of "0123456789." (an empty field too): the
// record is a numbered one.
bool IsRecordNumber(std::string_view field) noexcept;

}  // namespace dorvan_marker
