// SPDX-License-Identifier: MIT
#include "marker/record_file.hpp"

#include <bit>
#include <climits>
#include <cstring>
#include <limits>

#include "marker/record_stops.hpp"
#include "platform/c_numbers.hpp"
#include "platform/quoted.hpp"

namespace dorvan_marker {
namespace {

constexpr std::uint32_t kDenseLimit = 1u << 16;

}  // namespace

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
    if (number < dense_.size()) return dense_[number];
    while (dense_.size() <= number) dense_.emplace_back(static_cast<std::uint32_t>(dense_.size()), &records_);
    return dense_[number];
  }
  return sparse_.try_emplace(number, number, &records_).first->second;
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
  records_.clear();
  section_count_ = 0;
  headers_.push_back(CElementsArray());

  const std::size_t start = file.Position();
  std::size_t line = file.LineNumber();
  text_ = file.TakeText();
  if (text_.size() >= std::numeric_limits<std::uint32_t>::max()) {
    throw InvalidArgumentError("the file is larger than 4 GiB", ErrorLocation{path_, 0, {}, -1, {}});
  }
  // Room for fields of four bytes and lines of 24 on average, which markers and model
  // files exceed, so that the tables are not copied as they grow; a file of shorter ones
  // only makes them grow. Room that is never written costs address space, not memory.
  const std::size_t field_room = (text_.size() - start) / 4 + 16;
  const std::size_t record_room = (text_.size() - start) / 24 + 16;
  field_ends_.reserve(field_room);
  records_.reserve(record_room);

  // The lines as TextFile::ReadLine gives them and the records as ReadRecord splits them,
  // in one pass over the text, sixteen bytes at a time, without copying a field: every
  // colon ends a field, every line feed ends a line.
  const char* const base = text_.data();
  std::size_t line_start = start;
  std::size_t first_end = field_ends_.size();
  auto end_line = [&](std::size_t line_end) {
    ++line;
    // Cutting the trailing white space also drops the CR of a CR LF line end.
    std::size_t last = line_end;
    while (last > line_start && IsCSpace(base[last - 1])) --last;
    if (last == line_start || base[line_start] == '#') {
      field_ends_.resize(first_end);  // a blank line or a comment: its colons end no field
    } else {
      // The text after the last colon, if any, is one more field.
      if (base[last - 1] != ':') field_ends_.push_back(static_cast<std::uint32_t>(last));
      AddRecord(line_start, first_end, line);
    }
    first_end = field_ends_.size();
  };
  for (std::size_t block = start; block < text_.size(); block += kStopBlock) {
    RecordStops stops;
    if (text_.size() - block >= kStopBlock) {
      stops = StopsAt(base + block);
    } else {
      char tail[kStopBlock] = {};  // zeros are neither stop
      std::memcpy(tail, base + block, text_.size() - block);
      stops = StopsAt(tail);
    }
    for (std::uint32_t found = stops.colons | stops.line_feeds; found != 0; found &= found - 1) {
      const std::size_t at = block + static_cast<std::size_t>(std::countr_zero(found));
      if ((stops.line_feeds & found & (0u - found)) == 0) {
        field_ends_.push_back(static_cast<std::uint32_t>(at));
      } else {
        end_line(at);
        line_start = at + 1;
      }
    }
  }
  if (line_start < text_.size()) end_line(text_.size());
  IndexHeaders();
}

void RecordFile::IndexHeaders() {
  header_of_tag_.clear();
  column_of_tag_.assign(headers_.size(), {});
  for (std::size_t i = 1; i < headers_.size(); ++i) {
    const CElementsArray& header = headers_.items()[i];
    if (!header.empty()) header_of_tag_.try_emplace(header[0], i);
  }
}

void RecordFile::AddRecord(std::size_t begin, std::size_t first_end, std::size_t line) {
  const auto count = static_cast<std::uint32_t>(field_ends_.size() - first_end);
  const CElementsArray record(this, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(first_end), count,
                              static_cast<std::uint32_t>(line));
  const char* const first = text_.data() + begin;
  const char* const first_stop = text_.data() + field_ends_[first_end];
  // A first field of digits and points numbers the record: its digits up to the first
  // point, read in the same walk that tells a number from a tag.
  std::uint64_t number = 0;
  bool in_number = true;  // not past a point yet
  for (const char* c = first; c != first_stop; ++c) {
    if (*c >= '0' && *c <= '9') {
      if (in_number && number <= static_cast<std::uint64_t>(INT_MAX)) {
        number = number * 10 + static_cast<std::uint64_t>(*c - '0');
      }
    } else if (*c == '.') {
      in_number = false;
    } else {
      headers_.push_back(record);
      return;
    }
  }
  if (number > static_cast<std::uint64_t>(INT_MAX)) {
    RecordNumber(std::string_view(first, static_cast<std::size_t>(first_stop - first)), line);  // raises
  }
  SectionFor(static_cast<std::uint32_t>(number)).push_back(static_cast<std::uint32_t>(records_.size()));
  records_.push_back(record);
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
                                 ", but no numbered record carries " + std::to_string(index) + " or a higher number",
                             ErrorLocation{path_, headers_[index].Line(), std::string(tag), -1, {}});
}

namespace {

// a == b, for a walk over a header's columns: most tags are four letters, and most
// columns share their length and their first letter, so those are told apart in one step.
bool SameTag(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  if (a.size() == 4) {
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::memcpy(&x, a.data(), 4);
    std::memcpy(&y, b.data(), 4);
    return x == y;
  }
  return a == b;
}

}  // namespace

long RecordFile::ColumnOf(std::size_t header, std::string_view tag) const {
  constexpr std::size_t kWalkedColumns = 32;  // up to this many a walk is the quicker look-up
  const CElementsArray& record = headers_[header];
  if (record.size() <= kWalkedColumns || header >= column_of_tag_.size()) {
    for (std::size_t c = 0; c < record.size(); ++c) {
      if (SameTag(record[c], tag)) return static_cast<long>(c);
    }
    return -1;
  }
  auto& columns = column_of_tag_[header];
  if (columns.empty()) {
    for (std::size_t c = record.size(); c-- > 0;) columns[record[c]] = static_cast<long>(c);  // the first one wins
  }
  const auto found = columns.find(tag);
  return found == columns.end() ? -1 : found->second;
}

std::size_t RecordFile::HeaderOf(const CSection& section, std::size_t line, std::string_view tag) const {
  const std::size_t number = section.empty() ? 0 : section.Number();
  if (number >= headers_.size()) {
    throw InvalidArgumentError("section " + std::to_string(number) + " has no header record naming its columns",
                               ErrorLocation{path_, line, {}, -1, std::string(tag)});
  }
  return number;
}

std::string_view RecordFile::GetFieldValue(const CSection& section, const CElementsArray& record,
                                           std::string_view tag) const {
  return FieldColumn(ColumnOf(HeaderOf(section, record.Line(), tag), tag)).Of(record);
}

FieldColumn RecordFile::Column(const CSection& section, std::string_view tag) const {
  const std::size_t line = section.empty() ? 0 : section[0].Line();
  return FieldColumn(ColumnOf(HeaderOf(section, line, tag), tag));
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

std::string_view RecordFile::TagOf(const CSection& section) const {
  if (section.empty() || section.Number() >= headers_.size()) return {};
  const CElementsArray& header = headers_[section.Number()];
  return header.empty() ? std::string_view() : header[0];
}

}  // namespace dorvan_marker
