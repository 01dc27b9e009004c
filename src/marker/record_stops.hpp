// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#  include <emmintrin.h>
#endif

namespace dorvan_marker {

// Where the colons and line feeds of a block of text are: the reader's inner loop looks
// at sixteen bytes at a time. Bit i of colons (of line_feeds) is set when byte i of the
// block is a colon (a line feed).
struct RecordStops {
  std::uint32_t colons = 0;
  std::uint32_t line_feeds = 0;
};

constexpr std::size_t kStopBlock = 16;

// The stops of the kStopBlock bytes at p, one byte at a time: what processors without
// vector compares use.
inline RecordStops PortableStopsAt(const char* p) noexcept {
  RecordStops stops;
  for (std::size_t i = 0; i < kStopBlock; ++i) {
    stops.colons |= static_cast<std::uint32_t>(p[i] == ':') << i;
    stops.line_feeds |= static_cast<std::uint32_t>(p[i] == '\n') << i;
  }
  return stops;
}

// The same with one vector compare per stop where the processor has them.
inline RecordStops StopsAt(const char* p) noexcept {
#if defined(__SSE2__)
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  return {static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(':')))),
          static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))))};
#else
  return PortableStopsAt(p);
#endif
}

}  // namespace dorvan_marker
