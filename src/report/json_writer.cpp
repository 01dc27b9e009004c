// SPDX-License-Identifier: MIT
#include "report/json_writer.hpp"

#include <cmath>

#include "platform/decimal_text.hpp"
#include "report/text_encoding.hpp"

namespace dorvan_marker {

void JsonWriter::NewLine() {
  out_ += '\n';
  out_.append(2 * has_items_.size(), ' ');
}

void JsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (has_items_.empty()) return;
  if (has_items_.back()) out_ += ',';
  has_items_.back() = true;
  NewLine();
}

void JsonWriter::Open(char bracket) {
  BeforeValue();
  out_ += bracket;
  has_items_.push_back(false);
}

void JsonWriter::Close(char bracket) {
  const bool had_items = has_items_.back();
  has_items_.pop_back();
  if (had_items) NewLine();
  out_ += bracket;
  if (has_items_.empty()) out_ += '\n';
}

void JsonWriter::BeginObject() { Open('{'); }
void JsonWriter::EndObject() { Close('}'); }
void JsonWriter::BeginArray() { Open('['); }
void JsonWriter::EndArray() { Close(']'); }

JsonWriter& JsonWriter::Key(std::string_view key) {
  String(key);
  out_ += ": ";
  after_key_ = true;
  return *this;
}

void JsonWriter::String(std::string_view utf8) {
  BeforeValue();
  const std::string text = ToUtf8(utf8, ByteText::Utf8);
  out_ += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out_ += "\\\""; break;
      case '\\': out_ += "\\\\"; break;
      case '\n': out_ += "\\n"; break;
      case '\r': out_ += "\\r"; break;
      case '\t': out_ += "\\t"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          static const char kHex[] = "0123456789abcdef";
          out_ += "\\u00";
          out_ += kHex[byte >> 4];
          out_ += kHex[byte & 0xF];
        } else {
          out_ += c;
        }
    }
  }
  out_ += '"';
}

void JsonWriter::Number(double value) {
  if (!std::isfinite(value)) {
    Null();
    return;
  }
  BeforeValue();
  AppendShortest(out_, value);
}

void JsonWriter::Integer(long long value) {
  BeforeValue();
  out_ += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ += value ? "true" : "false";
}

void JsonWriter::Null() {
  BeforeValue();
  out_ += "null";
}

ByteText BeginMarkersDocument(JsonWriter& json, std::string_view format, const std::string& code_page) {
  const ByteText how = ByteTextOf(code_page);
  json.BeginObject();
  json.Key("format").String(format);
  json.Key("version").Integer(1);
  json.Key("code_page").String(code_page);
  json.Key("text").String(NameOf(how));
  json.Key("markers").BeginArray();
  return how;
}

}  // namespace dorvan_marker
