#!/bin/sh
# SPDX-License-Identifier: MIT
# Every C and C++ source follows .clang-format (the test data is kept as it was received).
# clang-format -i over the same list mends what this stage reports.
set -eu
cd "$(dirname "$0")/../.."
sh scripts/deps.sh format
git ls-files '*.cpp' '*.hpp' '*.h' '*.c' ':!tests/data/' |
  xargs clang-format-14 --dry-run --Werror
echo "format: every source follows .clang-format"
