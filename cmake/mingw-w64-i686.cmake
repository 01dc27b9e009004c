# SPDX-License-Identifier: MIT
# Cross-compiles for 32-bit Windows (package g++-mingw-w64-i686).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(mingw_prefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

include(${CMAKE_CURRENT_LIST_DIR}/x86-32-sse2.cmake)
