// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "dorvan_marker/path_encoding.hpp"

namespace dorvan_marker {

// The names a host file goes by while an import puts a new one in its place. They stand
// beside the host file, in its folder, so that the last step is a rename within one file
// system, and each import has its own:
//
//   <host file>.<16 hex digits>.dorvan-new   the new file, written and held by its import
//                                            (after an exchange of names: the previous file)
//   <host file>.<16 hex digits>.dorvan-old   the previous file, set aside until the new one
//                                            is in place
//
// Nothing else makes such names, so an import may remove those that dead imports left.

// Where a host file is: the path of its folder up to and including the last separator
// ("" for the current folder), and its name.
struct HostFilePlace {
  std::string prefix;
  std::string name;
  // A path that opens the folder: "dir/." rather than "dir/", and never a bare "c:" or "".
  std::string Folder() const { return prefix + "."; }
};
// Its separators are found as paths are written (native_path.hpp).
HostFilePlace PlaceOf(const std::string& path, PathEncoding paths);

// 16 lowercase hex digits that no other import of this or another process is likely to
// choose at the same time (exclusive creation settles the unlikely rest).
std::string UniqueToken();

std::string NewFileName(const std::string& host_file, std::string_view token);
std::string OldFileName(const std::string& host_file, std::string_view token);

// Whether entry (a name in a folder) is one of the names above for the host file named name.
bool IsStagingName(std::string_view entry, std::string_view name);

}  // namespace dorvan_marker
