// SPDX-License-Identifier: MIT
#include "render/order_file.hpp"

#include <charconv>
#include <map>
#include <string_view>

#include "dorvan_marker/error.hpp"

namespace dorvan_marker {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The fields of one line; false when a quote is not closed.
bool SplitFields(std::string_view line, std::vector<std::string>& fields) {
  fields.assign(1, std::string());
  bool quoted = false, was_quoted = false;
  std::string raw;  // the field before trimming, outside quotes
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        fields.back() += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == ',') {
      if (!was_quoted) fields.back() = std::string(Trimmed(raw));
      fields.emplace_back();
      raw.clear();
      was_quoted = false;
    } else if (c == '"' && Trimmed(raw).empty() && !was_quoted) {
      quoted = was_quoted = true;
    } else if (!was_quoted) {
      raw += c;
    } else if (c != ' ' && c != '\t') {
      return false;  // text after a closing quote
    }
  }
  if (!was_quoted) fields.back() = std::string(Trimmed(raw));
  return !quoted;
}

bool SameWord(std::string_view text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    if (c != word[i]) return false;
  }
  return true;
}

bool WholeNumber(const std::string& text, std::int64_t& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc{} && end == text.data() + text.size() && value <= kMostOrdered;
}

std::string Quoted(const std::string& text) { return '"' + text + '"'; }

}  // namespace

std::vector<OrderRow> ReadOrder(const std::string& text, const std::string& name) {
  std::string_view rest(text);
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
  std::vector<OrderRow> rows;
  std::map<std::string, std::size_t> seen;  // size -> its line
  bool header = false;
  std::vector<std::string> fields;
  for (std::size_t line = 1; !rest.empty(); ++line) {
    const std::size_t end = rest.find('\n');
    std::string_view content = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
    if (Trimmed(content).empty()) continue;
    const auto refuse = [&](const std::string& why) { throw InvalidArgumentError(why, OrderLine(name, line)); };
    if (!SplitFields(content, fields)) refuse("a quote is not closed, or text follows a closing quote");
    if (!header) {
      if (fields.size() != 2 || !SameWord(fields[0], "size") || !SameWord(fields[1], "quantity")) {
        refuse("the first row must be the header \"size,quantity\"");
      }
      header = true;
      continue;
    }
    if (fields.size() != 2)
      refuse("a row holds a size and a quantity, not " + std::to_string(fields.size()) + " fields");
    OrderRow row{fields[0], 0, line};
    if (row.size.empty()) refuse("\"size\" is empty");
    if (!WholeNumber(fields[1], row.quantity)) {
      refuse("\"quantity\" " + Quoted(fields[1]) + " is not a whole number from 0 to " + std::to_string(kMostOrdered));
    }
    const auto [earlier, fresh] = seen.emplace(row.size, line);
    if (!fresh)
      refuse("size " + Quoted(row.size) + " is ordered on line " + std::to_string(earlier->second) + " already");
    rows.push_back(std::move(row));
  }
  if (!header)
    throw InvalidArgumentError("the order is empty: it needs the header \"size,quantity\"", OrderLine(name, 0));
  return rows;
}

}  // namespace dorvan_marker
