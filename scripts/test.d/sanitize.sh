#!/bin/sh
# SPDX-License-Identifier: MIT
# The whole test suite built with clang, AddressSanitizer and UndefinedBehaviorSanitizer.
# LeakSanitizer runs with AddressSanitizer: a leak makes the leaking test program exit
# non-zero, so the test fails. The rows of the bad-input table that make files of 40 MB and
# more are left to the ordinary build (see tests/CMakeLists.txt).
set -eu
cd "$(dirname "$0")/../.."
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize >/dev/null
ctest --preset sanitize --label-exclude windows
