// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace dorvan_marker {

// Hashes a name held as any kind of string alike: with std::equal_to<>, a map keyed by
// std::string is searched with a std::string_view without making a string of it.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const noexcept { return std::hash<std::string_view>{}(name); }
};

}  // namespace dorvan_marker
