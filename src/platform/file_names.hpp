// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/code_page.hpp"

namespace dorvan_marker {

// How a platform's paths are read: which bytes separate folders, and whether a colon
// names a drive ("c:name") or a stream ("name:stream"). Both sets of rules exist on every
// platform, so that the Windows ones can be checked wherever the tests run.
class FileNameRules {
 public:
  static constexpr FileNameRules Posix() noexcept { return FileNameRules(false); }
  static constexpr FileNameRules Windows() noexcept { return FileNameRules(true); }
  // The rules of the platform the library runs on.
  static constexpr FileNameRules Native() noexcept {
#if defined(_WIN32)
    return Windows();
#else
    return Posix();
#endif
  }

  // '\' or '/' on Windows, '/' elsewhere.
  constexpr bool IsSeparator(char c) const noexcept { return c == '/' || (windows_ && c == '\\'); }
  // Whether a colon is part of a path's syntax (Windows), not an ordinary byte of a name.
  constexpr bool HasDrivesAndStreams() const noexcept { return windows_; }

 private:
  explicit constexpr FileNameRules(bool windows) : windows_(windows) {}
  bool windows_;
};

// The position just after the last folder separator of path (0 when there is none), where
// a '\' that is the second byte of a double-byte character never counts ('/' always
// does); under the Windows rules a drive ("c:name.txt") is no part of the name either.
std::size_t FileNameStart(std::string_view path, CodePage code_page, FileNameRules rules);

// Whether name names a file in the folder it is put after, and nothing else: it holds no
// folder separator and no NUL (which would end the path early), and under the Windows
// rules no colon (a drive or a stream). '/', ':' and NUL count wherever they stand, as no
// double-byte code page has them as a second byte; a '\' that is the second byte of a
// double-byte character is part of that character. The empty name, "." and ".." are
// plain: the extension put after them makes them file names.
bool IsPlainFileName(std::string_view name, CodePage code_page, FileNameRules rules);

}  // namespace dorvan_marker
