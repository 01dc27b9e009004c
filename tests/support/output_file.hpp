// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

#include "platform/file_system.hpp"
#include "support/test_support.hpp"

namespace test {

// A new file for a writer of the library, open through the current file system until Read.
struct OutputFile {
  explicit OutputFile(std::string file_path) : path(std::move(file_path)) {
    if (!dorvan_marker::CurrentFileSystem().CreateHeld(path, handle).Ok()) throw std::runtime_error(path);
  }
  ~OutputFile() {
    if (handle != dorvan_marker::kNoHandle) dorvan_marker::CurrentFileSystem().Close(handle);
  }
  dorvan_marker::WritableFile File() const { return {&dorvan_marker::CurrentFileSystem(), handle, path}; }
  std::string Read() {
    if (handle != dorvan_marker::kNoHandle) dorvan_marker::CurrentFileSystem().Close(std::exchange(handle, -1));
    return ReadFile(path);
  }

  std::string path;
  dorvan_marker::SystemHandle handle = dorvan_marker::kNoHandle;
};

}  // namespace test
