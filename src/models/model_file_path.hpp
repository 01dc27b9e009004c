// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "dorvan_marker/path_encoding.hpp"
#include "platform/code_page.hpp"
#include "platform/file_names.hpp"

namespace dorvan_marker {

// Longest model-file path the loader accepts (the Windows limit of 260 bytes with its zero).
constexpr std::size_t kMaxModelPathLength = 259;

// The model file of base_name beside the marker: the marker's folder (up to and including
// its last separator under rules; the trail byte of a double-byte character never counts)
// + base_name + ".mdl". A marker path without a separator gives a file in the current
// folder. The path is written as the marker's (paths): base_name, bytes in code_page, is
// carried into it (NameInPath).
//
// Nothing when base_name is not a plain file name under rules (IsPlainFileName): a marker
// comes from elsewhere, and its names must not choose which files outside its folder are
// read. Every road to a loader's Open passes here, so such a name opens nothing.
std::optional<std::string> MakeModelFilePath(std::string_view marker_path, std::string_view base_name,
                                             CodePage code_page, FileNameRules rules,
                                             PathEncoding paths = PathEncoding::System);

}  // namespace dorvan_marker
