// SPDX-License-Identifier: MIT
#include "report/text_encoding.hpp"

#include "dorvan_marker/json.hpp"

namespace dorvan_marker {
namespace {

void AppendCodePoint(std::string& out, unsigned code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Length of the valid UTF-8 sequence at text[i], or 0 (overlong forms, surrogates and
// values beyond U+10FFFF are not valid).
std::size_t ValidSequence(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned lead = byte(i);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  const unsigned smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

ByteText ByteTextOf(const std::string& code_page_name) {
  return code_page_name == "utf-8" ? ByteText::Utf8 : ByteText::Latin1Bytes;
}

const char* NameOf(ByteText how) { return how == ByteText::Utf8 ? "utf-8" : "latin1-bytes"; }

std::string ToUtf8(std::string_view bytes, ByteText how) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (how == ByteText::Latin1Bytes) {
      AppendCodePoint(out, byte);
      ++i;
      continue;
    }
    const std::size_t length = ValidSequence(bytes, i);
    if (length == 0) {
      AppendCodePoint(out, 0xFFFD);
      ++i;
    } else {
      out.append(bytes.substr(i, length));
      i += length;
    }
  }
  return out;
}

std::string CarriedAsUtf8(std::string_view bytes, const std::string& code_page) {
  return ToUtf8(bytes, ByteTextOf(code_page));
}

}  // namespace dorvan_marker
