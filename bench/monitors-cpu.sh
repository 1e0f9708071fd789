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

seconds=${2:-10}
source bench/cpu-share-lib.sh

config=tests/e2e/xorg-dummy.conf
xorg=/usr/lib/xorg/Xorg
[ -x "$xorg" ] || xorg=$(command -v Xorg || true)
[ -n "$xorg" ] || bench_fail "Xorg is missing (apt-get install xserver-xorg-core xserver-xorg-video-dummy)"
bench_require xrandr "apt-get install x11-xserver-utils"
bench_korval "${1:-build/korval}"

work=$(bench_folder)
bench_dirs+=("$work")
mkdir "$work/conf.d"
cp "$config" "$work/xorg.conf"
exec 3>"$work/display"
"$xorg" -displayfd 3 -config "$work/xorg.conf" -configdir "$work/conf.d" -logfile "$work/Xorg.log" \
    -noreset -nolisten tcp -sharevts -novtswitch >/dev/null 2>&1 &
xorg_pid=$!
bench_started "$xorg_pid"
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xorg did not start; see its log:" >&2; tail -20 "$work/Xorg.log" >&2; exit 1; }
display=":$(tr -d '\n' < "$work/display")"

# The second monitor: DUMMY1 at 1920 x 1080 to the right of the first.
second_monitor() {
    export DISPLAY=$display
    xrandr --newmode bench-1920x1080 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync 2>/dev/null || true
    xrandr --addmode DUMMY1 bench-1920x1080 2>/dev/null || true
    xrandr --output DUMMY1 --mode bench-1920x1080 --right-of DUMMY0
}

measure() {
    local label=$1
    start_korval QT_QPA_PLATFORM=xcb DISPLAY="$display" -- /s
    warm_up "$label"
    measure_shares "$label" "$korval_pid" "$xorg_pid"
    bench_stop "$korval_pid"
    printf "%-24s  %8s%%  %8s%%  %8s%%\n" "$label" "${bench_shares[@]}"
}

printf "korval /s on Xorg (dummy driver), %s s after %s s warm-up, share of one core\n" "$seconds" "$warmup"
printf "%-24s  %9s  %9s  %9s\n" "monitors" "program" "X server" "together"
measure "one 1920x1080"
second_monitor
measure "two 1920x1080"
