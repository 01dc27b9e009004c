// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "hostfiles/printf_file.hpp"

namespace dorvan_marker {

// A line of the placement file is
//   "%s,%s,%d,%d,%lf,%lf,%lf,%lf,%lf,%d\n"
// of the piece's name and size, its piece and mirror codes, its angle, centre and extent,
// and 0. Nearly every line has centre and extent in whole tenths, and thousands of lines
// share one name and size; those lines are written here directly, with the same bytes as
// the format gives, and without looking at the format at all.
namespace placement_line {

// The format every line follows; PutLine writes exactly what it writes.
inline constexpr std::string_view kFormat = "%s,%s,%d,%d,%lf,%lf,%lf,%lf,%lf,%d\n";

// Appends the start of a line that a piece's lines share: name and size each followed by
// a comma, with every line feed in them as CR LF, as the host file holds it.
inline void AppendPrefix(std::string& out, std::string_view name, std::string_view size) {
  for (std::string_view text : {name, size}) {
    if (text.find('\n') == std::string_view::npos) {
      out.append(text);
    } else {
      for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
      }
    }
    out += ',';
  }
}

// Bytes after a prefix that PutLine may read (and then overwrite): a short prefix is
// copied in one step of 16 bytes.
inline constexpr std::size_t kPrefixPadding = 16;

// The most bytes that PutLine writes after the prefix.
inline constexpr std::size_t kRoomAfterPrefix =
    2 * printf_detail::kNumberRoom + 4 * (printf_detail::kHundredthsRoom + 1) + 8;

// Centre and extent of a placement with origin (tenths[0], tenths[1]) and extent
// (tenths[2], tenths[3]) in tenths, as hundredths: origin / 10 + extent / 20, extent / 10.
inline std::array<Hundredths, 4> CentreAndExtent(const std::int32_t tenths[4]) {
  const std::int64_t x_origin = tenths[0], y_origin = tenths[1], x_extent = tenths[2], y_extent = tenths[3];
  return {Hundredths{(2 * x_origin + x_extent) * 5}, Hundredths{(2 * y_origin + y_extent) * 5},
          Hundredths{x_extent * 10}, Hundredths{y_extent * 10}};
}

// Writes at p a line of the piece whose prefix (AppendPrefix) is given, for a placement
// with origin and extent of (tenths[0], tenths[1]) and (tenths[2], tenths[3]) tenths;
// p has prefix.size() + kRoomAfterPrefix bytes of room, and kPrefixPadding bytes after the
// prefix may be read. Returns the end.
inline char* PutLine(char* p, std::string_view prefix, int piece_code, int mirror_code, double angle,
                     const std::int32_t tenths[4]) {
  static_assert(kRoomAfterPrefix >= kPrefixPadding);
  if (prefix.size() <= kPrefixPadding) {
    std::memcpy(p, prefix.data(), kPrefixPadding);
  } else {
    std::memcpy(p, prefix.data(), prefix.size());
  }
  p += prefix.size();
  p = decimal_digits::PutDigits(p, static_cast<std::uint32_t>(piece_code));  // 8, 16 or 32
  p[0] = ',';
  p[1] = static_cast<char>('0' + mirror_code);                                // 0 to 3
  p[2] = ',';
  p = printf_detail::PutFixed6(p + 3, angle);
  for (const Hundredths value : CentreAndExtent(tenths)) {
    *p++ = ',';
    p = printf_detail::PutHundredths(p, value);
  }
  std::memcpy(p, ",0\r\n", 4);
  return p + 4;
}

}  // namespace placement_line
}  // namespace dorvan_marker
