// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/checked_array.hpp"

namespace dorvan_marker {

class RecordFile;

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
class CSection {
 public:
  class Iterator {
   public:
    Iterator(const CSection& section, std::size_t i) : section_(&section), i_(i) {}
    const CElementsArray& operator*() const { return (*section_->records_)[section_->positions_[i_]]; }
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

  std::size_t size() const noexcept { return positions_.size(); }
  bool empty() const noexcept { return positions_.empty(); }
  // Record i; an index outside the section raises InvalidArgumentError.
  const CElementsArray& operator[](std::size_t i) const { return (*records_)[positions_[i]]; }
  Iterator begin() const noexcept { return Iterator(*this, 0); }
  Iterator end() const noexcept { return Iterator(*this, positions_.size()); }

  // The number that every record of the section carries.
  std::uint32_t Number() const noexcept { return number_; }

  // Adds the record at `position` of the file's table of records.
  void push_back(std::uint32_t position) { positions_.push_back(position); }

 private:
  std::uint32_t number_ = 0;
  const std::vector<CElementsArray>* records_ = nullptr;  // the file's records
  CheckedArray<std::uint32_t> positions_;
};

// The fields of the line just read, as views into that line; reused from record to record
// so that reading allocates nothing once it has seen the widest line.
using RecordFields = std::vector<std::string_view>;

}  // namespace dorvan_marker
