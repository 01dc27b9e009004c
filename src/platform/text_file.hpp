// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "dorvan_marker/path_encoding.hpp"

namespace dorvan_marker {

// Whether other handles to a file may exist while it is read. Only Windows has share
// modes; elsewhere both read the file alike.
enum class FileSharing {
  kNone,       // the open fails while another handle to the file exists, and none can be opened until it is read
  kReadWrite,  // others may read and write the file meanwhile, as the C runtime's fopen allows
};

// A text file read by the C runtime's text-mode rules: a line ends with LF or CR LF (the
// CR of a CR LF pair is dropped, a lone CR stays), a byte 0x1A ends the file, and a last
// line without a line end counts like any other. Lines may be of any length.
//
// The whole file is read at Open, so that records can keep views into one buffer; the
// buffer stays valid and unmoved for the reader's life and can be taken with TakeText.
class TextFile {
 public:
  // Opens and reads path (written as paths says), letting other handles to it exist as
  // sharing says. False when it cannot be opened (on Windows also when sharing forbids it;
  // the open is not retried), is not a regular file (a folder, a pipe, a device) or a read
  // fails; the reader is then empty, and Why says why.
  bool Open(const std::string& path, FileSharing sharing, PathEncoding paths = PathEncoding::System);

  // Why the last Open failed, in the system's words: "no such file", "a folder",
  // "permission denied", "held by another program", "not a regular file", else the
  // system's own text for its error. Empty after an Open that succeeded.
  const std::string& Why() const noexcept { return why_; }

  // Uses text as the file's content (for readers of bytes already in memory).
  void OpenText(std::string text);

  // The next line without its line end; false at the end of the file.
  bool ReadLine(std::string_view& line);

  // 1-based number of the line ReadLine returned last.
  std::size_t LineNumber() const noexcept { return line_number_; }

  // Offset in Text() of the next line that ReadLine would return.
  std::size_t Position() const noexcept { return position_; }

  const std::string& Text() const noexcept { return text_; }

  // Hands the whole text over to the caller; the reader is then at its end.
  std::string TakeText() noexcept {
    position_ = 0;
    return std::move(text_);
  }

 private:
  void CutAtControlZ();

  std::string text_;
  std::string why_;
  std::size_t position_ = 0;
  std::size_t line_number_ = 0;
};

}  // namespace dorvan_marker
