// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "dorvan_marker/import.hpp"
#include "entry/failure.hpp"
#include "entry/import_pipeline.hpp"

namespace dorvan_marker {

// What an import tells its caller when its road ended at `end` without raising: the
// marker's title when every step ran, else why it stopped. For CannotOpen, unreadable
// says why in the system's words.
ImportResult ImportResultOf(ImportEnd end, const std::string& marker_path, const std::string& title,
                            const std::string& unreadable);

// What an import tells its caller when a step raised.
ImportResult ImportResultOf(const Failure& failure);

}  // namespace dorvan_marker
