# SPDX-License-Identifier: MIT
# Cross-compiles for 32-bit Windows (package g++-mingw-w64-i686).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(mingw_prefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

# The compiler's default for i686 is the x87 unit, whose 80-bit intermediates round twice
# and move some placement angles by half a degree. SSE2 rounds every step to a double, as
# the 64-bit build and Linux do, so all builds write the same host files. (The compiler
# realigns the stack where SSE wants it: a host's 4-byte aligned calls are safe.)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
