// SPDX-License-Identifier: MIT
#include "entry/error_box.hpp"

#if defined(_WIN32)
#  include <windows.h>
#else
#  include <cstdio>
#endif

namespace dorvan_marker {

void ShowErrorBox(const std::string& text) {
#if defined(_WIN32)
  MessageBoxA(nullptr, text.c_str(), "KOV", MB_ICONERROR);
#else
  std::fprintf(stderr, "KOV: %s\n", text.c_str());
#endif
}

}  // namespace dorvan_marker
