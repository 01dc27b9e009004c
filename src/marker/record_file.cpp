// SPDX-License-Identifier: MIT
#include "marker/record_file.hpp"

#include <bit>
#include <climits>
#include <cstring>
#include <limits>

#include "platform/c_numbers.hpp"

namespace dorvan_marker {
namespace {

constexpr std::uint32_t kDenseLimit = 1u << 16;

std::string Quoted(std::string_view text) { return '"' + std::string(text) + '"'; }

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7full;

// Eight bytes of text at p.
std::uint64_t Word(const char* p) noexcept {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// The high bit of every byte of word that equals c, and no other bit.
std::uint64_t BytesEqual(std::uint64_t word, char c) noexcept {
  const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
  return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// The bytes of [begin, end) that are ':' or a line feed, eight at a time: an upper bound
// of the fields that the text holds, known before reading them.
std::size_t CountFieldEnds(const char* begin, const char* end) noexcept {
  std::size_t count = 0;
  const char* p = begin;
  for (; end - p >= 8; p += 8) {
    const std::uint64_t word = Word(p);
    // One bit per match, at the bottom of its byte; the multiplication adds the bytes up.
    count += static_cast<std::size_t>((((BytesEqual(word, ':') | BytesEqual(word, '\n')) >> 7) * kOnes) >> 56);
  }
  for (; p < end; ++p) count += (*p == ':' || *p == '\n') ? 1 : 0;
  return count;
}

}  // namespace

bool IsRecordNumber(std::string_view field) noexcept {
  for (char c : field) {
    if ((c < '0' || c > '9') && c != '.') return false;
  }
  return true;
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

  const std::size_t start = file.Position();
  std::size_t line = file.LineNumber();
  text_ = file.TakeText();
  if (text_.size() >= std::numeric_limits<std::uint32_t>::max()) {
    throw InvalidArgumentError("the file is larger than 4 GiB", ErrorLocation{path_, 0, {}, -1, {}});
  }
  // Every field ends at a colon or at a line's end, so this bounds the table of field
  // ends and spares it the copies of growing.
  const char* const begin = text_.data() + start;
  const char* const end = text_.data() + text_.size();
  field_ends_.reserve(CountFieldEnds(begin, end) + 1);

  // The lines as TextFile::ReadLine gives them and the records as ReadRecord splits them,
  // in one pass over the text without copying a field. Cutting the trailing white space
  // also drops the CR of a CR LF line end.
  for (const char* p = begin; p < end;) {
    const void* newline = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
    const char* line_end = newline != nullptr ? static_cast<const char*>(newline) : end;
    ++line;
    const char* last = line_end;
    while (last > p && IsCSpace(last[-1])) --last;
    if (last != p && *p != '#') AddRecord(p, last, line);
    p = newline != nullptr ? line_end + 1 : end;
  }
}

void RecordFile::AddRecord(const char* begin, const char* end, std::size_t line) {
  const char* const base = text_.data();
  const auto first_end = static_cast<std::uint32_t>(field_ends_.size());
  // Each colon ends a field; the text after the last colon, if any, is one more.
  const char* p = begin;
  for (; end - p >= 8; p += 8) {
    for (std::uint64_t colons = BytesEqual(Word(p), ':'); colons != 0; colons &= colons - 1) {
      field_ends_.push_back(static_cast<std::uint32_t>(p - base) + static_cast<std::uint32_t>(std::countr_zero(colons) / 8));
    }
  }
  for (; p < end; ++p) {
    if (*p == ':') field_ends_.push_back(static_cast<std::uint32_t>(p - base));
  }
  if (end[-1] != ':') field_ends_.push_back(static_cast<std::uint32_t>(end - base));
  const auto count = static_cast<std::uint32_t>(field_ends_.size() - first_end);
  const CElementsArray record(this, static_cast<std::uint32_t>(begin - base), first_end, count,
                              static_cast<std::uint32_t>(line));
  const std::string_view first(begin, field_ends_[first_end] - static_cast<std::size_t>(begin - base));
  if (IsRecordNumber(first)) {
    SectionFor(RecordNumber(first, line)).push_back(record);
  } else {
    headers_.push_back(record);
  }
}

std::size_t RecordFile::FindHeader(std::string_view tag) const noexcept {
  for (std::size_t i = 0; i < headers_.size(); ++i) {
    const CElementsArray& header = headers_.items()[i];
    if (!header.empty() && header[0] == tag) return i;
  }
  return 0;
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
  for (std::size_t c = 0; c < record.size(); ++c) {
    if (record[c] == tag) return static_cast<long>(c);
  }
  return -1;
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

std::string_view RecordFile::TagOf(const CSection& section) const {
  if (section.empty() || section.Number() >= headers_.size()) return {};
  const CElementsArray& header = headers_[section.Number()];
  return header.empty() ? std::string_view() : header[0];
}

}  // namespace dorvan_marker
