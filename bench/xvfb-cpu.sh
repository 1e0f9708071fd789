#!/usr/bin/env bash
# Whole-program cost of the saver on a virtual X display: starts Xvfb at each
# screen size, runs `korval /s` with nothing stored (the default settings),
# lets it warm up, then reports the share of one core that the program and
# the X server used over the measured seconds (from /proc, user + system).
# Usage: bench/xvfb-cpu.sh [korval binary] [seconds] [sizes...]
set -euo pipefail

korval=${1:-build/korval}
seconds=${2:-10}
shift $(( $# > 2 ? 2 : $# )) || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1920x1080 3840x2160)
warmup=2

command -v Xvfb >/dev/null || { echo "Xvfb is missing (apt-get install xvfb)" >&2; exit 1; }
[ -x "$korval" ] || { echo "no korval binary at $korval (build first)" >&2; exit 1; }

ticks_per_second=$(getconf CLK_TCK)

# user + system clock ticks of a process
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

free_display() {
    local n=$(( 200 + $$ % 500 ))
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    echo "$n"
}

measure() {
    local size=$1 n xvfb korval_pid home t0 t1 x0 x1 k0 k1
    n=$(free_display)
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
    home=$(mktemp -d)
    mkdir -m 700 "$home/run"
    HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run DISPLAY=":$n" \
        QT_QPA_PLATFORM=xcb "$korval" /s >/dev/null 2>&1 &
    korval_pid=$!
    sleep "$warmup"
    if ! kill -0 "$korval_pid" 2>/dev/null; then
        echo "$size: korval ended during warm-up" >&2
        kill "$xvfb" 2>/dev/null || true
        rm -rf "$home"
        return 1
    fi
    t0=$(date +%s.%N); k0=$(cpu_ticks "$korval_pid"); x0=$(cpu_ticks "$xvfb")
    sleep "$seconds"
    t1=$(date +%s.%N); k1=$(cpu_ticks "$korval_pid"); x1=$(cpu_ticks "$xvfb")
    kill "$korval_pid" 2>/dev/null || true
    wait "$korval_pid" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    rm -rf "$home"
    awk -v size="$size" -v k="$((k1 - k0))" -v x="$((x1 - x0))" -v t0="$t0" -v t1="$t1" -v hz="$ticks_per_second" \
        'BEGIN { wall = t1 - t0; kp = 100 * k / hz / wall; xp = 100 * x / hz / wall;
                 printf "%-10s  %8.1f%%  %8.1f%%  %8.1f%%\n", size, kp, xp, kp + xp }'
}

printf "korval /s on Xvfb, %s s after %s s warm-up, share of one core\n" "$seconds" "$warmup"
printf "%-10s  %9s  %9s  %9s\n" "screen" "program" "X server" "together"
for size in "${sizes[@]}"; do
    measure "$size"
done
