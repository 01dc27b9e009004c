// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "dorvan_marker/path_encoding.hpp"

namespace dorvan_marker {

// A shared library loaded at run time from a file, unloaded when the object goes.
class SharedLibrary {
 public:
  SharedLibrary() = default;
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // Loads the file at path. A path is never looked up on the system's library search path:
  // a bare file name means the current folder. On Windows the library's own dependencies
  // are found beside it first, and the system shows no dialog about a file that is not a
  // library. False, with why set to the system's reason, when it cannot be loaded. path is
  // written as paths says.
  bool Load(const std::string& path, std::string& why, PathEncoding paths = PathEncoding::System);

  // The address of the exported symbol `name`, or null when there is none.
  void* Symbol(const char* name) const;

 private:
  void* handle_ = nullptr;
};

// The file of the module that holds this code: the DLL (or program) it was linked into.
// Empty when the system cannot tell. Only Windows asks for it.
std::string ThisModulePath();

// Whether path names a regular file (or on Windows a file that is no folder).
bool IsFile(const std::string& path, PathEncoding paths = PathEncoding::System);

}  // namespace dorvan_marker
