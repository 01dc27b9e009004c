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

// The records of one numbered section, in file order.
class CSection {
 public:
  CSection() = default;
  explicit CSection(std::uint32_t number) : number_(number) {}

  std::size_t size() const noexcept { return records_.size(); }
  bool empty() const noexcept { return records_.empty(); }
  const CElementsArray& operator[](std::size_t i) const { return records_[i]; }
  auto begin() const noexcept { return records_.begin(); }
  auto end() const noexcept { return records_.end(); }

  // The number that every record of the section carries.
  std::uint32_t Number() const noexcept { return number_; }

  void push_back(const CElementsArray& record) { records_.push_back(record); }

 private:
  std::uint32_t number_ = 0;
  CheckedArray<CElementsArray> records_;
};

// The fields of the line just read, as views into that line; reused from record to record
// so that reading allocates nothing once it has seen the widest line.
using RecordFields = std::vector<std::string_view>;

}  // namespace dorvan_marker
