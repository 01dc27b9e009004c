#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# replays the seed corpus (with every input that ever crashed), then fuzzes each target
# for a bounded time. Any crash, leak, sanitizer report, time-out, memory blow-up or
# exception escaping fails the stage; the input that did it is kept in build/fuzz/artifacts.
#   DORVAN_FUZZ_SECONDS   seconds per target (default 60); the targets run side by side
set -eu
cd "$(dirname "$0")/../.."
seconds=${DORVAN_FUZZ_SECONDS:-60}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
artifacts=build/fuzz/artifacts
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

targets="record_reader import normalize_name"
for target in $targets; do
  build/fuzz/fuzz/replay_$target "fuzz/corpus/$target"
done

# The targets fuzz side by side, so the stage takes the time of one of them.
# New inputs land in the scratch folder, so the seed corpus stays as committed.
fuzz() {
  mkdir -p "$work/$1"
  build/fuzz/fuzz/fuzz_$1 "$work/$1" "fuzz/corpus/$1" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -max_len=16384 -print_final_stats=1 -artifact_prefix="$artifacts/$1-" \
    >"$work/$1.log" 2>&1
  echo $? >"$work/$1.status"
}
echo "fuzzing $targets for $seconds s each"
for target in $targets; do fuzz "$target" & done
wait

failed=0
for target in $targets; do
  if [ "$(cat "$work/$target.status")" -ne 0 ]; then
    tail -n 60 "$work/$target.log"
    echo "fuzz: $target failed; the input is in $artifacts/" >&2
    failed=1
    continue
  fi
  printf '%s: ' "$target"
  grep -E 'stat::(number_of_executed_units|peak_rss_mb)' "$work/$target.log" | tr -s ' \n' ' '
  echo
done
[ "$failed" -eq 0 ] || exit 1
echo "fuzz: every target ran clean"
