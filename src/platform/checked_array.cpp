// SPDX-License-Identifier: MIT
#include "platform/checked_array.hpp"

namespace dorvan_marker {

void ThrowIndexOutside(std::size_t index, std::size_t size) {
  throw InvalidArgumentError("index " + std::to_string(index) + " is outside an array of " + std::to_string(size) +
                             " entries");
}

}  // namespace dorvan_marker
