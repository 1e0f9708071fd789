#!/usr/bin/env bash
# Runs every libFuzzer target for a bounded time from its committed seed
# corpus. Usage: scripts/fuzz.sh <build dir configured with KORVAL_BUILD_FUZZ=ON> [seconds per target]
# New inputs go to <build dir>/fuzz-work, never into fuzz/corpus; a finding
# is written there as crash-*, timeout-* or leak-* and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:?usage: scripts/fuzz.sh <build dir> [seconds per target]}
seconds=${2:-20}
work="$build/fuzz-work"
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:exitcode=66:suppressions=$PWD/scripts/lsan.supp}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export QT_QPA_PLATFORM=offscreen

status=0
for corpus in fuzz/corpus/*/; do
  target=$(basename "$corpus")
  mkdir -p "$work/$target"
  echo "== $target (${seconds}s)"
  # -timeout: an input that runs for seconds is a hang, not a slow case.
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
      -print_final_stats=1 -artifact_prefix="$work/" "$work/$target" "$corpus" >"$work/$target.log" 2>&1; then
    echo "FAILED: $target; input and report in $work/ (replay: $build/fuzz/$target <input file>)" >&2
    grep -E 'ERROR|finding|runtime error|SUMMARY|Test unit written' "$work/$target.log" >&2 || tail -30 "$work/$target.log" >&2
    status=1
  else
    grep -E '^stat::number_of_executed_units|^Done' "$work/$target.log" || true
  fi
done
exit $status
