#!/usr/bin/env bash
# Installs what is missing, builds the saver and runs it.
#
#   scripts/run.sh            on your display if there is one, else on a virtual one
#   scripts/run.sh --virtual  always on a virtual display (Xvfb)
#
# On your display the saver covers the screen until a key press, a click or
# some mouse movement ends it. Without a usable display (a server, CI) it runs
# on Xvfb for a few seconds, saves a screenshot as build/korval-screenshot.png,
# ends the saver with a key press and tells where the picture is.
# KORVAL_BUILD_DIR names another build folder than ./build.
set -euo pipefail
cd "$(dirname "$0")/.."

virtual=no
case "${1:-}" in
  --virtual) virtual=yes ;;
  "") ;;
  *) echo "usage: scripts/run.sh [--virtual]" >&2; exit 2 ;;
esac

bash scripts/install-deps.sh
build="${KORVAL_BUILD_DIR:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target korval korval_screen_grab

build="$(cd "$build" && pwd)"
korval="$build/korval"
grab="$build/tests/korval_screen_grab"
screenshot="$build/korval-screenshot.png"

if [ "$virtual" = no ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "Starting the saver on display $DISPLAY: press a key, click or move the mouse to end it."
  exec "$korval" /s
fi

# No display to show it on: a virtual one of our own, on a free number.
number=99
while [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ]; do
  number=$((number + 1))
done
export DISPLAY=":${number}"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
# A fresh machine's root has no runtime folder; the saver's one-instance
# lock then lives in a private one for this run.
own_runtime=""
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  own_runtime="$(mktemp -d)"
  export XDG_RUNTIME_DIR="$own_runtime"
fi

xvfb_pid=""
saver_pid=""
cleanup() {
  [ -n "$saver_pid" ] && kill "$saver_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  [ -n "$own_runtime" ] && rm -rf "$own_runtime" || true
}
trap cleanup EXIT

echo "No usable display; starting a virtual one (Xvfb $DISPLAY, 1024 x 768)."
# -noreset: a server with no clients left starts over, and one that is
# starting over refuses the program that connects just after its display check.
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 50); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
if ! xdpyinfo >/dev/null 2>&1; then
  echo "The virtual display did not start." >&2
  exit 1
fi

"$korval" /s &
saver_pid=$!
echo "The saver runs; taking a screenshot in 3 seconds."
sleep 3
if ! kill -0 "$saver_pid" 2>/dev/null; then
  wait "$saver_pid" && status=0 || status=$?
  saver_pid=""
  echo "The saver ended by itself (status $status): another one may be running, or a stored setting is unusable." >&2
  exit 1
fi
"$grab" "$screenshot"

# A key press ends it: at once, or after the two-second SYSTEM FAILURE banner.
xdotool key space
for _ in $(seq 1 50); do
  kill -0 "$saver_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$saver_pid" 2>/dev/null; then
  echo "The saver did not end after the key press." >&2
  exit 1
fi
wait "$saver_pid" && status=0 || status=$?
saver_pid=""
echo "The saver ended after the key press (status $status)."
echo "Screenshot of the running saver: $screenshot"
