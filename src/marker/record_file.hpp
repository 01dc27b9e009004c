// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "marker/record.hpp"
#include "platform/text_file.hpp"

namespace dorvan_marker {

// One column of a section, looked up once for many records: Of(record) gives exactly what
// RecordFile::GetFieldValue(section, record, tag) gives, without walking the header.
class FieldColumn {
 public:
  FieldColumn() = default;
  explicit FieldColumn(long index) : index_(index) {}

  std::string_view Of(const CElementsArray& record) const {
    return index_ >= 0 && static_cast<std::size_t>(index_) < record.size() ? record[static_cast<std::size_t>(index_)]
                                                                           : std::string_view();
  }
  long Index() const noexcept { return index_; }  // -1 when the header lacks the tag

 private:
  long index_ = -1;  // -1: the header lacks the tag
};

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
  // Where the text every field is a view into begins.
  const char* TextBegin() const noexcept { return text_.data(); }
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

  // The column `tag` of section, for reading many of its records. Raises what
  // GetFieldValue raises when the section's number names no header record.
  FieldColumn Column(const CSection& section, std::string_view tag) const;

  // Column index of tag in header record number, or -1.
  long ColumnOf(std::size_t header, std::string_view tag) const;

  // The table of field ends that records index (see CElementsArray).
  const std::uint32_t* FieldEnds() const noexcept { return field_ends_.data(); }

  // Field `index` of a record given by its start and the place of its first field end.
  std::string_view FieldText(std::uint32_t start, std::uint32_t first_end, std::size_t index) const noexcept {
    const std::uint32_t begin = index == 0 ? start : field_ends_[first_end + index - 1] + 1;
    const std::uint32_t end = field_ends_[first_end + index];
    return std::string_view(text_.data() + begin, end - begin);
  }

  // Section tag of a section (the tag of its header record), or empty.
  std::string_view TagOf(const CSection& section) const;

  // The numbers of the sections that hold at least one record, ascending. Walks only the
  // sections read, so a lone record numbered two billion costs nothing.
  std::vector<std::uint32_t> SectionNumbers() const;

 private:
  // Every look-up names a section or a column by its tag: a file of many header records,
  // or of one very wide one, must not make each look-up walk them all.
  void IndexHeaders();

  // Adds the record that starts at offset begin of the text and whose fields end at the
  // field ends from first_end on.
  void AddRecord(std::size_t begin, std::size_t first_end, std::size_t line);
  CSection& SectionFor(std::uint32_t number);
  // The header record that names the columns of section; raises when there is none.
  std::size_t HeaderOf(const CSection& section, std::size_t line, std::string_view tag) const;
  std::uint32_t RecordNumber(std::string_view first_field, std::size_t line) const;

  std::string path_;
  std::string text_;
  std::vector<std::uint32_t> field_ends_;
  std::vector<CElementsArray> records_;  // every numbered record, in file order
  CheckedArray<CElementsArray> headers_;
  std::vector<CSection> dense_;               // sections 0 .. kDenseLimit-1
  std::map<std::uint32_t, CSection> sparse_;  // sections from kDenseLimit up
  std::size_t section_count_ = 0;
  CSection empty_section_;
  std::unordered_map<std::string_view, std::size_t> header_of_tag_;  // first header per tag
  // Per header record, its first column per tag; made on the first look-up of a wide one.
  mutable std::vector<std::unordered_map<std::string_view, long>> column_of_tag_;
};

inline std::string_view CElementsArray::operator[](std::size_t i) const {
  if (i >= count_) ThrowIndexOutside(i, count_);
  return file_->FieldText(start_, first_end_, i);
}

template <std::size_t N>
void CElementsArray::Columns(const FieldColumn (&columns)[N], std::string_view (&fields)[N]) const {
  const std::uint32_t* const ends = file_->FieldEnds() + first_end_;
  const char* const text = file_->TextBegin();
  for (std::size_t k = 0; k < N; ++k) {
    const long i = columns[k].Index();
    if (i < 0 || static_cast<std::size_t>(i) >= count_) {
      fields[k] = std::string_view();
      continue;
    }
    const std::uint32_t begin = i == 0 ? start_ : ends[i - 1] + 1;
    fields[k] = std::string_view(text + begin, ends[i] - begin);
  }
}

}  // namespace dorvan_marker
