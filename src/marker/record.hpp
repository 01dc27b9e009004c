// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/checked_array.hpp"

namespace dorvan_marker {

class RecordFile;
class FieldColumn;

// One record: the fields of one line, in order. A light view into the RecordFile that read
// it (the line's text and the ends of its fields), valid while that file lives. Copying
// a record copies the view; the fields themselves are never copied.
class CElementsArray {
 public:
  CElementsArray() = default;
  CElementsArray(const RecordFile* file, std::uint32_t start, std::uint32_t first_end, std::uint32_t count,
                 std::uint32_t line)
      : file_(file), start_(start), first_end_(first_end), count_(count), line_(line) {}

  std::size_t size() const noexcept { return count_; }
  bool empty() const noexcept { return count_ == 0; }

  // Field i; an index outside the record raises InvalidArgumentError. Defined in
  // record_file.hpp, where the file's text is known.
  inline std::string_view operator[](std::size_t i) const;

  // The fields in columns, each as FieldColumn::Of gives it, read in one go: a writer
  // reads several fields of each of thousands of records. Defined in record_file.hpp.
  template <std::size_t N>
  void Columns(const FieldColumn (&columns)[N], std::string_view (&fields)[N]) const;

  // 1-based line of the record in its file.
  std::size_t Line() const noexcept { return line_; }

 private:
  const RecordFile* file_ = nullptr;
  std::uint32_t start_ = 0;      // offset of field 0 in the file's text
  std::uint32_t first_end_ = 0;  // index of field 0's end in the file's table of field ends
  std::uint32_t count_ = 0;
  std::uint32_t line_ = 0;
};

// The records of one numbered section, in file order: positions in the table of all the
// records of the file, so that reading a file never copies a record to grow a section.
// A file writes most sections as one run of lines: while its records are one run, a
// section keeps only where the run starts and how long it is.
class CSection {
 public:
  class Iterator {
   public:
    Iterator(const CSection& section, std::size_t i) : section_(&section), i_(i) {}
    const CElementsArray& operator*() const { return (*section_->records_)[section_->Position(i_)]; }
    const CElementsArray* operator->() const { return &**this; }
    Iterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator==(const Iterator& other) const { return i_ == other.i_; }
    bool operator!=(const Iterator& other) const { return i_ != other.i_; }

   private:
    const CSection* section_;
    std::size_t i_;
  };

  CSection() = default;
  CSection(std::uint32_t number, const std::vector<CElementsArray>* records) : number_(number), records_(records) {}

  std::size_t size() const noexcept { return count_; }
  bool empty() const noexcept { return count_ == 0; }
  // Record i; an index outside the section raises InvalidArgumentError.
  const CElementsArray& operator[](std::size_t i) const {
    if (i >= count_) ThrowIndexOutside(i, count_);
    return (*records_)[Position(i)];
  }
  Iterator begin() const noexcept { return Iterator(*this, 0); }
  Iterator end() const noexcept { return Iterator(*this, count_); }

  // The number that every record of the section carries.
  std::uint32_t Number() const noexcept { return number_; }

  // Adds the record at `position` of the file's table of records.
  void push_back(std::uint32_t position) {
    if (count_ == 0) {
      first_ = position;
    } else if (positions_.empty() && position != first_ + count_) {
      // The run ends: from now on every position is kept.
      positions_.reserve(2 * static_cast<std::size_t>(count_));
      for (std::uint32_t k = 0; k < count_; ++k) positions_.push_back(first_ + k);
    }
    if (!positions_.empty()) positions_.push_back(position);
    ++count_;
  }

 private:
  // The position of record i (< count_) in the file's table of records.
  std::size_t Position(std::size_t i) const noexcept { return positions_.empty() ? first_ + i : positions_.items()[i]; }

  std::uint32_t number_ = 0;
  const std::vector<CElementsArray>* records_ = nullptr;  // the file's records
  std::uint32_t first_ = 0;                               // where the records start, while they are one run
  std::uint32_t count_ = 0;
  CheckedArray<std::uint32_t> positions_;  // every position, once the records are not one run
};

// The fields of the line just read, as views into that line; reused from record to record
// so that reading allocates nothing once it has seen the widest line.
using RecordFields = std::vector<std::string_view>;

}  // namespace dorvan_marker
