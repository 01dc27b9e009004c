// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

#include "dorvan_marker/dorvan_marker_c.h"
#include "dorvan_marker/import.hpp"
#include "platform/code_page.hpp"

namespace dorvan_marker {

// One call of the C face: the caller's options and message buffer, checked before the
// work, and the message written after it whatever happened. Nothing raised leaves Run.
class CCall {
 public:
  // function names the call in the messages about the caller's own faults.
  CCall(const char* function, char* message, std::size_t message_size)
      : function_(function), message_(message), message_size_(message_size) {}

  // Reads the caller's options, then returns work(options) (an int result). A message
  // buffer of no bytes, or options that cannot be read, give DORVAN_MARKER_BAD_CALL
  // without running work; anything raised gives DORVAN_MARKER_OUT_OF_MEMORY.
  template <typename Work>
  int Run(const dorvan_marker_options* options, Work&& work) {
    if (message_ != nullptr && message_size_ == 0) return DORVAN_MARKER_BAD_CALL;  // nowhere to say why
    int result = DORVAN_MARKER_OUT_OF_MEMORY;
    try {
      ImportOptions chosen;
      result = ReadOptions(options, chosen);
      if (result == DORVAN_MARKER_OK) result = work(static_cast<const ImportOptions&>(chosen));
    } catch (...) {
      // The library's functions raise nothing; only this layer's copies can (out of memory).
      result = Fail(DORVAN_MARKER_OUT_OF_MEMORY, "out of memory");
    }
    WriteMessage();
    return result;
  }

  // DORVAN_MARKER_BAD_CALL, the message "function: why".
  int Refuse(const std::string& why);
  // result, with message as the message.
  int Fail(int result, std::string message);

  // Copies bytes into buffer (size bytes) when they fit and gives DORVAN_MARKER_OK; else
  // DORVAN_MARKER_BUFFER_TOO_SMALL, buffer untouched, with the message "function: the
  // buffer holds SIZE bytes, WHAT NEEDED". Sets *needed to their size either way.
  int HandOut(const std::string& bytes, char* buffer, std::size_t size, std::size_t* needed, const char* what);

  // The code page names are read in, once the options are read (the system's until then).
  CodePage Names() const { return code_page_; }
  // How the caller's paths are written, once the options are read.
  PathEncoding Paths() const { return paths_; }

 private:
  int ReadOptions(const dorvan_marker_options* given, ImportOptions& chosen);
  void WriteMessage() noexcept;

  const char* function_;
  char* message_;
  std::size_t message_size_;
  std::string text_;
  CodePage code_page_ = CodePage::System();
  PathEncoding paths_ = PathEncoding::System;
};

}  // namespace dorvan_marker
