// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace dorvan_marker {

// How names (bytes in the marker's code page) are carried into JSON and SVG, which are
// UTF-8. A UTF-8 marker keeps its text, each byte that begins no valid sequence becoming
// U+FFFD. Every other code page is carried byte for byte: byte b becomes code point b, so
// that encoding the text as Latin-1 gives back the marker's exact bytes, to be decoded
// with the code page that the output names.
enum class ByteText { Utf8, Latin1Bytes };

// The carrying for a code page as the library names it ("utf-8", "932", "single-byte").
ByteText ByteTextOf(const std::string& code_page_name);

// The name of the carrying in JSON output: "utf-8" or "latin1-bytes".
const char* NameOf(ByteText how);

// bytes as UTF-8 under `how`.
std::string ToUtf8(std::string_view bytes, ByteText how);

}  // namespace dorvan_marker
