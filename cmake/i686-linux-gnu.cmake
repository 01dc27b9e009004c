# SPDX-License-Identifier: MIT
# Cross-compiles the command line for 32-bit x86 Linux (package g++-i686-linux-gnu), with
# the arithmetic of the 32-bit Windows build, and runs it under qemu-i386 (package
# qemu-user), which emulates the processor: where the kernel runs no 32-bit programs, this
# is how the tests see what 32-bit arithmetic writes.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH /usr/i686-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# qemu-i386 finds the program's loader and C++ runtime in the cross sysroot.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386 -L /usr/i686-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/x86-32-sse2.cmake)
