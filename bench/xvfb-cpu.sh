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

korval=${1:-build/korval}
seconds=${2:-10}
shift $(( $# > 2 ? 2 : $# )) || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1920x1080 3840x2160)
read -r -a modes <<<"${KORVAL_BENCH_MODES:-saver host}"
plain_window=${KORVAL_PLAIN_WINDOW:-$(dirname "$korval")/korval_plain_window}
warmup=2

command -v Xvfb >/dev/null || { echo "Xvfb is missing (apt-get install xvfb)" >&2; exit 1; }
[ -x "$korval" ] || { echo "no korval binary at $korval (build first)" >&2; exit 1; }
if [[ " ${modes[*]} " == *" host "* ]] && [ ! -x "$plain_window" ]; then
    echo "no korval_plain_window at $plain_window (build the tests, or set KORVAL_PLAIN_WINDOW)" >&2
    exit 1
fi

ticks_per_second=$(getconf CLK_TCK)

# user + system clock ticks of a process
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

free_display() {
    local n=$(( 200 + $$ % 500 ))
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    echo "$n"
}

# The window a host would hand over: the whole screen. Prints its id.
host_window() {
    local size=$1 home=$2 pid
    DISPLAY=":$3" "$plain_window" "${size}+0+0" </dev/null >"$home/window" 2>/dev/null &
    pid=$!
    for _ in $(seq 100); do [ -s "$home/window" ] && break; sleep 0.05; done
    echo "$pid"
}

measure() {
    local size=$1 mode=$2 n xvfb korval_pid home helper="" arguments t0 t1 x0 x1 k0 k1
    n=$(free_display)
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
    home=$(mktemp -d)
    mkdir -m 700 "$home/run"
    arguments=(/s)
    if [ "$mode" = host ]; then
        helper=$(host_window "$size" "$home" "$n")
        arguments=(--window-id "$(cat "$home/window")")
    fi
    HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run DISPLAY=":$n" \
        QT_QPA_PLATFORM=xcb "$korval" "${arguments[@]}" >/dev/null 2>&1 &
    korval_pid=$!
    sleep "$warmup"
    if ! kill -0 "$korval_pid" 2>/dev/null; then
        echo "$size $mode: korval ended during warm-up" >&2
        [ -z "$helper" ] || kill "$helper" 2>/dev/null || true
        kill "$xvfb" 2>/dev/null || true
        rm -rf "$home"
        return 1
    fi
    t0=$(date +%s.%N); k0=$(cpu_ticks "$korval_pid"); x0=$(cpu_ticks "$xvfb")
    sleep "$seconds"
    t1=$(date +%s.%N); k1=$(cpu_ticks "$korval_pid"); x1=$(cpu_ticks "$xvfb")
    kill "$korval_pid" 2>/dev/null || true
    wait "$korval_pid" 2>/dev/null || true
    if [ -n "$helper" ]; then
        kill "$helper" 2>/dev/null || true
        wait "$helper" 2>/dev/null || true
    fi
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rm -rf "$home"
    awk -v size="$size" -v mode="$mode" -v k="$((k1 - k0))" -v x="$((x1 - x0))" -v t0="$t0" -v t1="$t1" \
        -v hz="$ticks_per_second" \
        'BEGIN { wall = t1 - t0; kp = 100 * k / hz / wall; xp = 100 * x / hz / wall;
                 printf "%-10s  %-6s  %8.1f%%  %8.1f%%  %8.1f%%\n", size, mode, kp, xp, kp + xp }'
}

printf "korval on Xvfb (saver: /s, host: --window-id in a screen-sized window), %s s after %s s warm-up, share of one core\n" \
    "$seconds" "$warmup"
printf "%-10s  %-6s  %9s  %9s  %9s\n" "screen" "way" "program" "X server" "together"
for size in "${sizes[@]}"; do
    for mode in "${modes[@]}"; do
        measure "$size" "$mode"
    done
done
