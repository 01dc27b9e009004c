// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "dorvan_marker/path_encoding.hpp"
#include "platform/code_page.hpp"

namespace dorvan_marker {

// The code page whose double-byte characters a path's separators are found among: a UTF-8
// path's own, else names (the marker's code page, which the import has always read its
// paths in).
CodePage PathCodePage(PathEncoding paths, CodePage names);

// name, bytes in the code page `names`, as a part of a path written as paths says. Only a
// UTF-8 path on Windows differs from the bytes: the name is carried into UTF-8, so that a
// UTF-8 folder and a model name of the marker join into one name. Bytes that the code
// page does not map stay as the system maps them, and the file is then not found.
std::string NameInPath(std::string_view name, CodePage names, PathEncoding paths);

#if defined(_WIN32)
// The UTF-16 name of path, read as the system's narrow file functions read it
// (PathEncoding::System) or as UTF-8. False for UTF-8 that is not valid, which names no
// file; error is then the system's error for it.
bool WidePath(std::string_view path, PathEncoding paths, std::wstring& wide, unsigned long& error);
// A UTF-16 name written as paths says.
std::string NarrowPath(std::wstring_view wide, PathEncoding paths);
#endif

}  // namespace dorvan_marker
