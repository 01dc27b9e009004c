// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.hpp"

namespace dorvan_marker {

// Removes what imports that were killed part way left beside the host files: files under
// the library's staging names (staging_names.hpp) that no running import holds, and
// nothing else. Runs under the ReplacementLock, so that no import is between letting go of
// its files and renaming them. Never fails: whatever cannot be listed or removed now is
// tried again by the next import. own_files, the caller's staged files, are passed over.
void RemoveLeftovers(FileSystem& file_system, const std::vector<std::string>& host_files,
                     const std::vector<std::string>& own_files);

}  // namespace dorvan_marker
