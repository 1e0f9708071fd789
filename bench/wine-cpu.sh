#!/usr/bin/env bash
# Whole-program cost of the Windows saver under Wine beside the Linux build,
# in the same run: on a fresh Xvfb at the given size each, `korval.scr /s`
# under Wine and then `korval /s`, both with nothing stored (the default
# settings). After a warm-up it reports the share of one core used over the
# measured seconds (from /proc, user + system): for Wine the program, the
# Wine server and the X server, and apart from them Wine's other processes
# of the prefix (its desktop and services); for Linux the program and the X
# server.
# Usage: bench/wine-cpu.sh [korval.scr] [korval] [seconds] [size]
# The Wine prefix is build-windows/wine-prefix (scripts/windows-wine-prefix.sh),
# copied for the run; KORVAL_WINE_PREFIX names another.
set -euo pipefail

scr=${1:-build-windows/korval.scr}
korval=${2:-build/korval}
seconds=${3:-10}
size=${4:-1920x1080}
prefix_source=${KORVAL_WINE_PREFIX:-$(dirname "$scr")/wine-prefix}
warmup=2

command -v Xvfb >/dev/null || { echo "Xvfb is missing (apt-get install xvfb)" >&2; exit 1; }
[ -f "$scr" ] || { echo "no korval.scr at $scr (bash scripts/build-windows.sh)" >&2; exit 1; }
[ -d "$prefix_source" ] || { echo "no Wine prefix at $prefix_source (bash scripts/windows-wine-prefix.sh)" >&2; exit 1; }

ticks_per_second=$(getconf CLK_TCK)
work=$(mktemp -d)
xvfb=""
cleanup() {
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# user + system clock ticks of the processes, summed (0 for none)
cpu_ticks() {
    local total=0 pid
    for pid in "$@"; do
        [ -n "$pid" ] && [ -r "/proc/$pid/stat" ] && total=$((total + $(awk '{ print $14 + $15 }' "/proc/$pid/stat")))
    done
    echo "$total"
}

share() { awk -v t="$1" -v hz="$ticks_per_second" -v s="$2" 'BEGIN { printf "%.1f%%", 100 * t / hz / s }'; }

start_xvfb() {
    local n=$(( 200 + $$ % 500 ))
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
    display=":$n"
}

stop_xvfb() {
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    xvfb=""
}

# The processes whose environment names the run's prefix.
prefix_processes() {
    local pid
    for pid in $(pgrep -u "$(id -u)" .); do
        if { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$work/prefix"; then
            echo "$pid"
        fi
    done
    true
}

# The prefix's process of that name (as /proc shows it), or nothing.
named() {
    local pid
    for pid in $(prefix_processes); do
        if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$1" ]; then
            echo "$pid"
            return 0
        fi
    done
}

measure_wine() {
    cp -al "$prefix_source" "$work/prefix"
    for registry in "$work"/prefix/*.reg; do
        cp --remove-destination "$prefix_source/$(basename "$registry")" "$registry"
    done
    start_xvfb
    DISPLAY=$display WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        wine "$scr" /s >/dev/null 2>&1 &
    sleep "$warmup"
    local program server others=() pid t0 t1 p0 p1 w0 w1 x0 x1 o0 o1
    program=$(named korval.scr)
    [ -n "$program" ] || { echo "wine: korval.scr ended during warm-up" >&2; return 1; }
    server=$(named wineserver64)
    [ -n "$server" ] || server=$(named wineserver)
    [ -n "$server" ] || echo "wine: no wineserver found: $(for pid in $(prefix_processes); do cat "/proc/$pid/comm"; done | tr "\n" " ")" >&2
    for pid in $(prefix_processes); do
        [ "$pid" = "$program" ] || [ "$pid" = "$server" ] || others+=("$pid")
    done
    t0=$(date +%s.%N); p0=$(cpu_ticks "$program"); w0=$(cpu_ticks "$server"); x0=$(cpu_ticks "$xvfb")
    o0=$(cpu_ticks "${others[@]}")
    sleep "$seconds"
    t1=$(date +%s.%N); p1=$(cpu_ticks "$program"); w1=$(cpu_ticks "$server"); x1=$(cpu_ticks "$xvfb")
    o1=$(cpu_ticks "${others[@]}")
    local span
    span=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
    echo "$size wine  korval.scr /s: program $(share $((p1 - p0)) "$span"), wineserver $(share $((w1 - w0)) "$span"), Xvfb $(share $((x1 - x0)) "$span"): total $(share $((p1 - p0 + w1 - w0 + x1 - x0)) "$span") (other Wine processes $(share $((o1 - o0)) "$span"))"
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    stop_xvfb
}

measure_linux() {
    if [ ! -x "$korval" ]; then
        echo "$size linux: no korval at $korval (cmake --build build --target korval)"
        return 0
    fi
    start_xvfb
    local home="$work/home" pid t0 t1 p0 p1 x0 x1 span
    mkdir -p "$home/run" && chmod 700 "$home/run"
    HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run DISPLAY=$display \
        QT_QPA_PLATFORM=xcb "$korval" /s >/dev/null 2>&1 &
    pid=$!
    sleep "$warmup"
    kill -0 "$pid" 2>/dev/null || { echo "linux: korval ended during warm-up" >&2; return 1; }
    t0=$(date +%s.%N); p0=$(cpu_ticks "$pid"); x0=$(cpu_ticks "$xvfb")
    sleep "$seconds"
    t1=$(date +%s.%N); p1=$(cpu_ticks "$pid"); x1=$(cpu_ticks "$xvfb")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    span=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
    echo "$size linux korval /s:     program $(share $((p1 - p0)) "$span"), Xvfb $(share $((x1 - x0)) "$span"): total $(share $((p1 - p0 + x1 - x0)) "$span")"
    stop_xvfb
}

measure_wine
measure_linux
