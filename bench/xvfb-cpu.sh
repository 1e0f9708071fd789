#!/usr/bin/env bash
# Whole-program cost of the saver on a virtual X display: starts Xvfb at each
# screen size and runs the program with nothing stored (the default
# settings) in two ways, one after the other: `korval /s` in its own window,
# and `korval --window-id` in a screen-sized plain window made as a
# screen-saver host makes one (korval_plain_window, built with the tests).
# After a warm-up it reports the share of one core that the program and the
# X server used over the measured seconds (from /proc, user + system).
# Usage: bench/xvfb-cpu.sh [korval binary] [seconds] [sizes...]
# KORVAL_BENCH_MODES="saver host" chooses the ways (default both).
set -euo pipefail

seconds=${2:-10}
source "$(dirname "$0")/cpu-share-lib.sh"

korval_argument=${1:-build/korval}
shift $(( $# > 2 ? 2 : $# )) || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1920x1080 3840x2160)
read -r -a modes <<<"${KORVAL_BENCH_MODES:-saver host}"
plain_window=${KORVAL_PLAIN_WINDOW:-$(dirname "$korval_argument")/korval_plain_window}

bench_require Xvfb "apt-get install xvfb"
bench_korval "$korval_argument"
if [[ " ${modes[*]} " == *" host "* ]] && [ ! -x "$plain_window" ]; then
    bench_fail "no korval_plain_window at $plain_window (build the tests, or set KORVAL_PLAIN_WINDOW)"
fi

# The window a host would hand over: the whole screen. Sets helper_pid and
# host_window_id.
host_window() {
    local size=$1 file
    file=$(bench_folder)/window
    bench_dirs+=("$(dirname "$file")")
    DISPLAY=$xvfb_display "$plain_window" "${size}+0+0" </dev/null >"$file" 2>/dev/null &
    helper_pid=$!
    bench_started "$helper_pid"
    for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.05; done
    [ -s "$file" ] || bench_fail "korval_plain_window made no window at $size"
    host_window_id=$(cat "$file")
}

measure() {
    local size=$1 mode=$2 arguments=(/s)
    start_xvfb "$size"
    helper_pid=""
    if [ "$mode" = host ]; then
        host_window "$size"
        arguments=(--window-id "$host_window_id")
    fi
    start_korval QT_QPA_PLATFORM=xcb DISPLAY="$xvfb_display" -- "${arguments[@]}"
    warm_up "$size $mode"
    measure_shares "$size $mode" "$korval_pid" "$xvfb_pid"
    bench_stop "$korval_pid"
    [ -z "$helper_pid" ] || bench_stop "$helper_pid"
    bench_stop "$xvfb_pid"
    printf "%-10s  %-6s  %8s%%  %8s%%  %8s%%\n" "$size" "$mode" "${bench_shares[@]}"
}

printf "korval on Xvfb (saver: /s, host: --window-id in a screen-sized window), %s s after %s s warm-up, share of one core\n" \
    "$seconds" "$warmup"
printf "%-10s  %-6s  %9s  %9s  %9s\n" "screen" "way" "program" "X server" "together"
for size in "${sizes[@]}"; do
    for mode in "${modes[@]}"; do
        measure "$size" "$mode"
    done
done
