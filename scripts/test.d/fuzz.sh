#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# replays the seed corpus (with every input that ever crashed), then fuzzes each target
# for a bounded time. Any crash, leak, sanitizer report, time-out, memory blow-up or
# exception escaping fails the stage; the input that did it is kept in build/fuzz/artifacts.
#   DORVAN_FUZZ_SECONDS   seconds per target (default 60)
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

for target in record_reader import normalize_name; do
  seeds=fuzz/corpus/$target
  build/fuzz/fuzz/replay_$target "$seeds"
  mkdir -p "$work/$target"
  echo "fuzzing $target for $seconds s"
  # New inputs land in the scratch folder, so the seed corpus stays as committed.
  if ! build/fuzz/fuzz/fuzz_$target "$work/$target" "$seeds" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -max_len=16384 -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
      >"$work/$target.log" 2>&1; then
    tail -n 60 "$work/$target.log"
    echo "fuzz: $target failed; the input is in $artifacts/" >&2
    exit 1
  fi
  grep -E 'stat::(number_of_executed_runs|peak_rss_mb)' "$work/$target.log" | tr '\n' ' '
  echo
done
echo "fuzz: every target ran clean"
