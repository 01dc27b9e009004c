# SPDX-License-Identifier: MIT
# The arithmetic of every 32-bit x86 build (Windows and Linux alike). The compiler's default
# for i686 is the x87 unit, whose 80-bit intermediates round twice and move some placement
# angles by half a degree. SSE2 rounds every step to a double, as the 64-bit builds do, so
# all builds write the same host files. (The compiler realigns the stack where SSE wants
# it: a host's 4-byte aligned calls are safe.)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
