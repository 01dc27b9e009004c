#!/bin/sh
# SPDX-License-Identifier: MIT
# The library and the concurrency test built with clang's ThreadSanitizer (preset tsan):
# threads of one host importing and listing styles at once. Any data race fails the stage.
# A kernel that randomises more address bits than ThreadSanitizer expects makes it stop
# at start ("unexpected memory mapping"); the test then runs without randomisation.
set -eu
cd "$(dirname "$0")/../.."
cmake --preset tsan >/dev/null
cmake --build --preset tsan >/dev/null
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
program=build/tsan/tests/dorvan_marker_concurrency_test
log=build/tsan/concurrency.log
if "$program" >"$log" 2>&1; then
  cat "$log"
  exit 0
fi
if grep -q 'unexpected memory mapping' "$log"; then
  echo "tsan: address-space randomisation defeats ThreadSanitizer here; running under setarch -R"
  exec setarch "$(uname -m)" -R "$program"
fi
cat "$log"
exit 1
