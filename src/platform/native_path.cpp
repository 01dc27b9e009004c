// SPDX-License-Identifier: MIT
#include "platform/native_path.hpp"

#if defined(_WIN32)
#  include <windows.h>
#endif

namespace dorvan_marker {

#if defined(_WIN32)
namespace {

// The code page of the narrow file functions: the ANSI one unless the process asked for
// the OEM one (SetFileApisToOEM).
UINT NarrowFileCodePage(PathEncoding paths) {
  if (paths == PathEncoding::Utf8) return CP_UTF8;
  return AreFileApisANSI() ? CP_ACP : CP_OEMCP;
}

bool Widen(std::string_view text, UINT code_page, DWORD flags, std::wstring& wide) {
  wide.clear();
  if (text.empty()) return true;
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(code_page, flags, text.data(), size, nullptr, 0);
  if (length <= 0) return false;
  wide.resize(static_cast<std::size_t>(length));
  return MultiByteToWideChar(code_page, flags, text.data(), size, wide.data(), length) == length;
}

std::string Narrow(std::wstring_view wide, UINT code_page) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(code_page, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

}  // namespace

bool WidePath(std::string_view path, PathEncoding paths, std::wstring& wide, unsigned long& error) {
  // Invalid UTF-8 is refused rather than read with replacement characters, which could
  // name another file.
  const DWORD flags = paths == PathEncoding::Utf8 ? MB_ERR_INVALID_CHARS : 0;
  if (Widen(path, NarrowFileCodePage(paths), flags, wide)) return true;
  error = GetLastError();
  return false;
}

std::string NarrowPath(std::wstring_view wide, PathEncoding paths) { return Narrow(wide, NarrowFileCodePage(paths)); }

#endif

CodePage PathCodePage(PathEncoding paths, CodePage names) {
  return paths == PathEncoding::Utf8 ? CodePage(CodePage::Kind::Utf8) : names;
}

std::string NameInPath(std::string_view name, CodePage names, PathEncoding paths) {
#if defined(_WIN32)
  if (paths == PathEncoding::Utf8 && names.kind() != CodePage::Kind::Utf8) {
    std::wstring wide;
    const UINT from = names.Number() != 0 ? names.Number() : CP_ACP;
    if (Widen(name, from, 0, wide)) return Narrow(wide, CP_UTF8);
  }
#else
  (void)names;
  (void)paths;
#endif
  return std::string(name);
}

}  // namespace dorvan_marker
