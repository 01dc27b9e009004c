// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

#include "platform/file_system.hpp"
#include "support/test_support.hpp"

namespace test {

// A new file to write through the current file system, as a writer of the library is
// given one; closed by Read or at the end.
class OutputFile {
 public:
  explicit OutputFile(std::string path) : path_(std::move(path)) {
    if (!dorvan_marker::CurrentFileSystem().CreateHeld(path_, handle_).Ok()) {
      throw std::runtime_error("cannot create " + path_);
    }
  }
  ~OutputFile() { Close(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  dorvan_marker::WritableFile File() const { return {&dorvan_marker::CurrentFileSystem(), handle_, path_}; }
  std::string Read() {
    Close();
    return ReadFile(path_);
  }

 private:
  void Close() {
    if (handle_ != dorvan_marker::kNoHandle) dorvan_marker::CurrentFileSystem().Close(handle_);
    handle_ = dorvan_marker::kNoHandle;
  }

  std::string path_;
  dorvan_marker::SystemHandle handle_ = dorvan_marker::kNoHandle;
};

}  // namespace test
