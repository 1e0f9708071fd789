#!/usr/bin/env bash
# Whole-program cost of the saver on one and on two 1920 x 1080 monitors,
# side by side in one run: an X server with the dummy video driver (the
# configuration the multi-monitor tests use) runs `korval /s` with the
# default settings, first with one monitor on, then with two; after a
# warm-up, the share of one core that the program and the X server used is
# read from /proc (user + system). Needs Xorg and its dummy driver
# (scripts/install-deps.sh) and, as a rule, root.
# Usage: bench/monitors-cpu.sh [korval binary] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."

korval=${1:-build/korval}
seconds=${2:-10}
warmup=2
config=tests/e2e/xorg-dummy.conf
xorg=/usr/lib/xorg/Xorg
[ -x "$xorg" ] || xorg=$(command -v Xorg || true)
[ -n "$xorg" ] || { echo "Xorg is missing (apt-get install xserver-xorg-core xserver-xorg-video-dummy)" >&2; exit 1; }
[ -x "$korval" ] || { echo "no korval binary at $korval (build first)" >&2; exit 1; }
korval=$(cd "$(dirname "$korval")" && pwd)/$(basename "$korval")

hz=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

work=$(mktemp -d)
xorg_pid=""
cleanup() {
    [ -n "$xorg_pid" ] && kill "$xorg_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

mkdir "$work/conf.d"
cp "$config" "$work/xorg.conf"
exec 3>"$work/display"
"$xorg" -displayfd 3 -config "$work/xorg.conf" -configdir "$work/conf.d" -logfile "$work/Xorg.log" \
    -noreset -nolisten tcp -sharevts -novtswitch >/dev/null 2>&1 &
xorg_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xorg did not start; see its log:" >&2; tail -20 "$work/Xorg.log" >&2; exit 1; }
export DISPLAY=":$(tr -d '\n' < "$work/display")"

# The second monitor: DUMMY1 at 1920 x 1080 to the right of the first.
second_monitor() {
    xrandr --newmode bench-1920x1080 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync 2>/dev/null || true
    xrandr --addmode DUMMY1 bench-1920x1080 2>/dev/null || true
    xrandr --output DUMMY1 --mode bench-1920x1080 --right-of DUMMY0
}

measure() {
    local label=$1 home pid t0 t1 k0 k1 x0 x1
    home=$(mktemp -d -p "$work")
    mkdir -m 700 "$home/run"
    HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run QT_QPA_PLATFORM=xcb \
        "$korval" /s >/dev/null 2>&1 &
    pid=$!
    sleep "$warmup"
    kill -0 "$pid" 2>/dev/null || { echo "$label: korval ended during warm-up" >&2; return 1; }
    t0=$(date +%s.%N); k0=$(cpu_ticks "$pid"); x0=$(cpu_ticks "$xorg_pid")
    sleep "$seconds"
    t1=$(date +%s.%N); k1=$(cpu_ticks "$pid"); x1=$(cpu_ticks "$xorg_pid")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    awk -v label="$label" -v k="$((k1 - k0))" -v x="$((x1 - x0))" -v t0="$t0" -v t1="$t1" -v hz="$hz" \
        'BEGIN { wall = t1 - t0; kp = 100 * k / hz / wall; xp = 100 * x / hz / wall;
                 printf "%-24s  %8.1f%%  %8.1f%%  %8.1f%%\n", label, kp, xp, kp + xp }'
}

printf "korval /s on Xorg (dummy driver), %s s after %s s warm-up, share of one core\n" "$seconds" "$warmup"
printf "%-24s  %9s  %9s  %9s\n" "monitors" "program" "X server" "together"
measure "one 1920x1080"
second_monitor
measure "two 1920x1080"
