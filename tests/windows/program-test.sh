#!/usr/bin/env bash
# Whole-program tests of korval.scr: the built program under Wine on a virtual
# X display (Xvfb) of its own, input through xdotool without --window (XTEST,
# as a user's keyboard and mouse), every window the program maps seen by xev.
#
#   program-test.sh <scenario>
#
# KORVAL_SCR names the program, KORVAL_WINE_PREFIX the prefix that
# scripts/windows-wine-prefix.sh made. Each run works in a hard-linked copy of
# that prefix with a Wine server of its own: Wine's desktop process takes the
# X display (and so the monitors) of the first program of its server, so
# programs on different displays never share one.
set -euo pipefail

scenario="${1:?scenario}"
: "${KORVAL_SCR:?path of korval.scr}"
: "${KORVAL_WINE_PREFIX:?the Wine prefix made by scripts/windows-wine-prefix.sh}"

work="$(mktemp -d "${TMPDIR:-/tmp}/korval-windows-test.XXXXXX")"
xvfb_pid=""
xev_pid=""
cleanup() {
  WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
  [ -z "$xev_pid" ] || kill "$xev_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($scenario): $*" >&2
  exit 1
}

# A private copy of the prefix at little cost: hard links for its 700 MB of
# files, which Wine only reads, and copies of the registry files, which the
# Wine server rewrites in place.
cp -al "$KORVAL_WINE_PREFIX" "$work/prefix"
for registry in "$work"/prefix/*.reg; do
  cp --remove-destination "$KORVAL_WINE_PREFIX/$(basename "$registry")" "$registry"
done
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# The server picks a free display number and writes it to the pipe.
start_display() {
  local size="$1"
  mkfifo "$work/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number
  read -r -t 20 number <"$work/display" || fail "Xvfb did not start"
  export DISPLAY=":$number"
  # Every window mapped on the screen, the program's message boxes included.
  xev -root -event substructure >"$work/xev.log" 2>&1 &
  xev_pid=$!
  for _ in $(seq 50); do
    grep -q . "$work/xev.log" 2>/dev/null && break
    sleep 0.1
  done
}

mapped_windows() {
  grep -c '^MapNotify' "$work/xev.log" || true
}

# Runs korval.scr in the foreground; its exit status becomes $status.
run_scr() {
  status=0
  timeout 60 wine "$KORVAL_SCR" "$@" || status=$?
}

# Starts korval.scr in the background.
start_scr() {
  timeout 60 wine "$KORVAL_SCR" "$@" &
  scr_pid=$!
}

# Waits for the end of the program started by start_scr; its status becomes $status.
wait_scr() {
  status=0
  wait "$scr_pid" || status=$?
}

wait_for_window() {
  local name="$1"
  for _ in $(seq 200); do
    xdotool search --name "$name" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "no window named '$name' appeared"
}

expect_status() {
  [ "$status" = "$1" ] || fail "exit status $status, expected $1"
}

# Ends at once with status 0 and maps no window, for each form of the arguments.
expect_silent_end() {
  for arguments in "$@"; do
    # shellcheck disable=SC2086 # each form is split into its words as a host passes them
    run_scr $arguments
    [ "$status" = 0 ] || fail "'$arguments' ended with status $status"
  done
  sleep 0.5
  [ "$(mapped_windows)" = 0 ] || fail "a window was mapped: $(grep -A2 '^MapNotify' "$work/xev.log")"
}

start_display 1024x768
case "$scenario" in
  preview)
    # Windows' preview pane stays empty.
    expect_silent_end "/p 1234" "/P:1234" "-p 99"
    ;;
  password-change)
    expect_silent_end "/a" "/a 4242"
    ;;
  unknown-switch)
    # No console to print on: the usage shows in a box titled KORVAL, and
    # the program ends with status 2 once it is closed.
    start_scr /x
    wait_for_window '^KORVAL$'
    [ "$(mapped_windows)" -ge 1 ] || fail "the box was not seen mapped"
    # A key pressed while the box is still being set up may be lost: press
    # again until the program has ended.
    for _ in $(seq 20); do
      kill -0 "$scr_pid" 2>/dev/null || break
      xdotool key Return
      sleep 0.5
    done
    wait_scr
    expect_status 2
    ;;
  *)
    fail "no such scenario"
    ;;
esac
echo "ok ($scenario)"
