// SPDX-License-Identifier: MIT
#pragma once

namespace dorvan_marker {

// How the paths a caller passes are written. Windows names files in UTF-16; its narrow
// functions read a path in the system's code page, which holds only some of those names.
// Elsewhere a path is bytes, and both encodings give the same file.
enum class PathEncoding : int {
  System = 0,  // the system's code page (Windows' ANSI code page), as ImportDorvanFile takes them
  Utf8 = 1,    // UTF-8; on Windows every file is opened by its UTF-16 name, so any name Windows allows works
};

}  // namespace dorvan_marker
