// SPDX-License-Identifier: MIT
#pragma once

#include "report/text_encoding.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace dorvan_marker {

// Builds one JSON text, indented by two blanks a level. Strings must be UTF-8 (see
// text_encoding.hpp); control characters are escaped and any byte that begins no valid
// UTF-8 sequence is written as U+FFFD, so the output is always valid JSON.
class JsonWriter {
 public:
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  JsonWriter& Key(std::string_view key);  // in an object, before each value

  void String(std::string_view utf8);
  void Number(double value);  // shortest form that reads back the same; null when not finite
  void Integer(long long value);
  void Bool(bool value);
  void Null();

  // The text so far, ended by a line feed once the outermost value is closed.
  const std::string& Text() const noexcept { return out_; }

 private:
  void BeforeValue();
  void Open(char bracket);
  void Close(char bracket);
  void NewLine();

  std::string out_;
  std::vector<bool> has_items_;  // one per open container
  bool after_key_ = false;
};

// Opens the object of a versioned document of `format` ("dorvan-marker-styles", ...):
// its format, version, code page and how names are carried, then the "markers" array,
// which the caller fills and closes. Returns how names are to be carried.
ByteText BeginMarkersDocument(JsonWriter& json, std::string_view format, const std::string& code_page);

}  // namespace dorvan_marker
