#!/usr/bin/env bash
# Whole-program tests of korval.scr: the built program under Wine on a virtual
# X display (Xvfb) of its own, input through xdotool without --window (XTEST,
# as a user's keyboard and mouse), every window the program maps seen by
# korval_map_watch (tools/MapWatch.cpp).
#
#   program-test.sh <scenario>
#
# KORVAL_SCR names the program, KORVAL_WINE_PREFIX the prefix that
# scripts/windows-wine-prefix.sh made, KORVAL_WINE_SESSION the program that
# holds a Wine session open, KORVAL_SCREEN_SAMPLE the screen reader
# (tools/ScreenSample.cpp) and KORVAL_MAP_WATCH the map watcher. Each run works in a hard-linked copy of that
# prefix with a Wine server of its own: Wine's desktop process takes the X
# display (and so the monitors) of the first program of its server, so
# programs on different displays never share one.
#
# Nothing here waits by counting sleeps: a wait has a deadline on the clock
# and fails with what it measured, and a timed rule is checked against the
# times at which the screen was sampled and the program ended.
set -euo pipefail

scenario="${1:?scenario}"
: "${KORVAL_SCR:?path of korval.scr}"
: "${KORVAL_WINE_PREFIX:?the Wine prefix made by scripts/windows-wine-prefix.sh}"
: "${KORVAL_WINE_SESSION:?path of korval_wine_session.exe}"
: "${KORVAL_SCREEN_SAMPLE:?path of korval_screen_sample}"
: "${KORVAL_MAP_WATCH:?path of korval_map_watch}"

work="$(mktemp -d "${TMPDIR:-/tmp}/korval-windows-test.XXXXXX")"
xvfb_pid=""
watch_pid=""
sampler_pid=""
cleanup() {
  WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
  [ -z "$sampler_pid" ] || kill "$sampler_pid" 2>/dev/null || true
  [ -z "$watch_pid" ] || kill "$watch_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($scenario): $*" >&2
  exit 1
}

# stamp <variable>: the wall clock in milliseconds, without starting a process.
stamp() {
  local clock_us="${EPOCHREALTIME/[.,]/}"
  printf -v "$1" '%d' $((10#$clock_us / 1000))
}

# within <seconds> <reason> <command...>: waits until the command succeeds, or
# fails with the reason and the time it waited once the seconds have passed.
# A check that reads the screen leaves what it read in $last_figure, which
# the failure names.
within() {
  local seconds="$1" reason="$2" began now
  shift 2
  last_figure=""
  stamp began
  while ! "$@"; do
    stamp now
    [ $((now - began)) -lt $((seconds * 1000)) ] ||
      fail "$reason (waited $((now - began)) ms${last_figure:+; last read: $last_figure})"
    sleep 0.1
  done
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
  "$KORVAL_MAP_WATCH" >"$work/maps.log" 2>&1 &
  watch_pid=$!
  within 20 "the map watcher did not start" grep -q '^ready$' "$work/maps.log"
}

# Holds this prefix's Wine session open for the whole scenario (see
# WineSession.cpp) and waits until it has brought Wine's desktop up on this
# display: every program after it, `wine reg` included, then starts into a
# session that is whole instead of starting and stopping one of its own.
start_session() {
  mkfifo "$work/session"
  wine "$KORVAL_WINE_SESSION" 3600 >"$work/session" 2>"$work/session.log" &
  local line=""
  read -r -t 60 line <"$work/session" || true
  # Wine's C runtime ends the line in CR LF.
  [ "${line%$'\r'}" = ready ] || fail "Wine's session did not start: '${line}' $(tail -3 "$work/session.log")"
}

mapped_windows() {
  grep -c '^map ' "$work/maps.log" || true
}

here="$(cd "$(dirname "$0")" && pwd)"

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

# Succeeds once a window of that name exists; fails at once, with the exit
# status, if the program ended before it showed one.
window_or_end() {
  window_named "$1" && return 0
  if ! running; then
    wait_scr
    fail "the program ended with status $status before a window named '$1' showed"
  fi
  return 1
}

wait_for_window() {
  local name="$1" began now
  stamp began
  until window_or_end "$name"; do
    stamp now
    [ $((now - began)) -lt 20000 ] || fail "no window named '$name' appeared within $((now - began)) ms; \
windows there: $(xdotool search --name . getwindowname %@ 2>/dev/null | sort | uniq -c | tr '\n' ';')"
    sleep 0.1
  done
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
  # A negative check: a map would have reached the watcher by now.
  sleep 0.5
  [ "$(mapped_windows)" = 0 ] || fail "a window was mapped: $(grep '^map ' "$work/maps.log")"
}

# The options dialog: where it keeps its settings, and how a user drives it.
options_key='HKCU\Software\VB and VBA Program Settings\KORVAL\OPTION'

# One setting as the registry holds it ("name type value"), or nothing.
stored() {
  wine reg query "$options_key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v name="$1" '$1 == name {print $2, $3}'
}

stored_number() {
  stored "$1" | awk '{print $2}'
}

store_settings() {
  while [ $# -ge 2 ]; do
    set_option "$1" "$2"
    shift 2
  done
}

all_settings() {
  for name in TEXTSIZE WIDTH HEIGHT SYSTEM; do
    echo "$name=$(stored "$name")"
  done
}

# Starts the dialog with those arguments and waits until it takes keys.
open_dialog() {
  start_scr "$@"
  wait_for_window '^OPTION KORVAL$'
  dialog="$(xdotool search --name '^OPTION KORVAL$' | head -1)"
  # Wine gives the dialog the focus with no X event that a test could wait
  # on: the keys are typed after a pause.
  sleep 1
}

# Types keys into the dialog, then gives it a moment to act on them (a
# negative check such as "the dialog still runs" may follow).
keys() {
  xdotool key --delay 150 "$@"
  sleep 0.5
}

expect_running() {
  kill -0 "$scr_pid" 2>/dev/null || fail "the dialog ended: $1"
}

# Ends the dialog with keys (the last of them presses a button or closes it)
# and expects status 0.
end_dialog() {
  keys "$@"
  wait_scr
  expect_status 0
}

expect_client_size() {
  eval "$(xdotool getwindowgeometry --shell "$dialog")"
  [ "${WIDTH}x${HEIGHT}" = "$1" ] || fail "client area ${WIDTH}x${HEIGHT}, expected $1"
}

# Instead of Xvfb: Xorg with the dummy driver (tests/e2e/xorg-dummy.conf),
# one monitor DUMMY0 of 1920 x 1080, and the modes its second output DUMMY1
# can take. Skips (77) where it cannot.
start_dummy_xorg() {
  local xorg=/usr/lib/xorg/Xorg
  [ -x "$xorg" ] || xorg="$(command -v Xorg || true)"
  if [ "$(id -u)" != 0 ] || [ -z "$xorg" ] || ! command -v xrandr >/dev/null; then
    echo "SKIP ($scenario): needs root, Xorg with the dummy driver and xrandr" >&2
    exit 77
  fi
  mkdir "$work/conf.d"
  cp "$here/../e2e/xorg-dummy.conf" "$work/xorg.conf"
  mkfifo "$work/display"
  "$xorg" -displayfd 3 -config "$work/xorg.conf" -configdir "$work/conf.d" -logfile "$work/Xorg.log" \
    -noreset -nolisten tcp -sharevts -novtswitch 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number
  read -r -t 30 number <"$work/display" || fail "Xorg did not start: $(tail -5 "$work/Xorg.log")"
  export DISPLAY=":$number"
  xrandr --newmode test-1024x768 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
  xrandr --addmode DUMMY1 test-1024x768
  xrandr --addmode DUMMY1 1920x1080
  xrandr --output DUMMY0 --mode 1920x1080 --primary
}

# DUMMY1 on at 1024 x 768 to the right of DUMMY0: two monitors, 2944 x 1080 in all.
second_monitor_on() {
  xrandr --output DUMMY1 --mode test-1024x768 --right-of DUMMY0
  [ "$(xrandr --listmonitors | head -1)" = "Monitors: 2" ] || fail "xrandr shows $(xrandr --listmonitors)"
}

# The saver's settings in the private prefix's registry, where the program reads them.
set_option() {
  wine reg add "$options_key" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1 || fail "could not store $1"
}

# screen_stat <green|bright|lit|hash> [x y width height]: one figure of the
# whole screen or of that area (tools/ScreenSample.cpp).
screen_stat() {
  local name="$1" line
  shift
  line="$("$KORVAL_SCREEN_SAMPLE" "$@")" || fail "cannot read the screen"
  line="${line#* $name=}"
  echo "${line%% *}"
}

running() {
  kill -0 "$scr_pid" 2>/dev/null
}

# stat_above <name> <count> [x y width height]: more than count such pixels there.
stat_above() {
  local value
  value="$(screen_stat "$1" "${@:3}")"
  last_figure="$value $1 pixels"
  [ "$value" -gt "$2" ]
}

# The saver's windows that are shown, wherever they lie.
saver_windows() {
  xdotool search --onlyvisible --name '^KORVAL$' 2>/dev/null | wc -l
}

saver_windows_are() {
  [ "$(saver_windows)" = "$1" ]
}

stopped() {
  ! running
}

window_named() {
  xdotool search --name "$1" >/dev/null 2>&1
}

visible_window() {
  xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
}

maps_seen() {
  [ "$(mapped_windows)" -ge 1 ]
}

# Presses Return on the box over the dialog; succeeds once the box is gone.
box_closed_after_return() {
  xdotool search --name '^KORVAL$' >/dev/null 2>&1 || return 0
  keys Return
  return 1
}

# expect_error_box <screen width>: a window titled KORVAL shows that is
# narrower than the screen: a message box, not the saver.
expect_error_box() {
  within 20 "no box shown" visible_window '^KORVAL$'
  local box
  box="$(xdotool search --onlyvisible --name '^KORVAL$' | head -1)"
  eval "$(xdotool getwindowgeometry --shell "$box")"
  [ "$WIDTH" -lt "$1" ] || fail "a window as wide as the screen is shown, not a box"
}

# Pixels that are lit but not green in an area: a grey box over the rain.
grey_pixels() {
  echo $(($(screen_stat lit "$@") - $(screen_stat green "$@")))
}

grey_above() {
  local count="$1" value
  shift
  value="$(grey_pixels "$@")"
  last_figure="$value grey pixels"
  [ "$value" -gt "$count" ]
}

# The banner's middle: 200 x 40 pixels around the centre of 1024 x 768.
banner_area="412 364 200 40"

# check_banner_samples <before key> <after key> <end> < samples
# The samples are pairs of lines, the whole screen (area 0) then the banner's
# middle (area 1), each "<ms> <area> green= bright= lit= hash=". The banner
# shows once the middle has more than 800 bright pixels after the key (the
# banner makes about 1,400 there; the rain's heads, at most about 100). From
# 300 ms after it first shows, every sample taken while it still shows and
# before the end must be one picture, and there must be two such samples at
# least 1 s apart; the end must come 2 s after the key, with a margin of
# 100 ms before for the stamps and 1.5 s after for Wine to end the process.
check_banner_samples() {
  local verdict
  verdict="$(awk -v before="$1" -v after="$2" -v ended="$3" '
    function field(name,   i) { for (i = 3; i <= NF; i++) if (index($i, name "=") == 1) return substr($i, length(name) + 2) }
    $2 == 0 { screen_time = $1; screen_hash = field("hash"); next }
    $2 == 1 && $1 > after && $1 < ended && field("bright") + 0 > 800 {
      if (!first) first = $1
      if ($1 < first + 300) next
      if (!under) { under_first = screen_time; hash = screen_hash }
      under++; under_last = screen_time
      if (screen_hash != hash) changed = changed " " screen_time - after "ms"
    }
    END {
      if (!first) { print "no banner in the middle of the screen after the key"; exit }
      if (changed) { print "the rain goes on under the banner: the picture changed at" changed " after the key"; exit }
      if (under < 2 || under_last - under_first < 1000) {
        printf "too few samples under the banner to tell that the rain stands still: %d, from %d to %d ms after the key (the machine was too slow to sample the screen)\n", under, under_first - after, under_last - after
        exit
      }
      if (ended - before < 1900 || ended - after > 3500)
        printf "the saver ended %d ms after the key, not 2 s (1.9 to 3.5 s allowed)\n", ended - after
      else
        printf "ok: the banner showed %d ms after the key; %d samples from %d to %d ms were one picture; the end came %d ms after the key\n", first - after, under, under_first - after, under_last - after, ended - after
    }')"
  [ "${verdict%%:*}" = ok ] || fail "$verdict"
  echo "$verdict"
}

# Starts the saver and waits until its rain falls.
start_saver() {
  start_scr /s
  wait_for_window '^KORVAL$'
  within 20 "no rain after the saver's window showed" stat_above green 1000
  running || fail "the saver ended by itself"
}

# A key pressed while a box is still being set up may be lost: Return is
# pressed again until the program has ended, which must end with that status.
close_box_and_expect() {
  within 20 "the box could not be closed" press_return_unless_ended
  wait_scr
  expect_status "$1"
}

press_return_unless_ended() {
  running || return 0
  xdotool key Return
  sleep 0.5
  return 1
}

# Waits up to the given seconds for the saver to end; its status becomes $status.
expect_end_within() {
  within "$1" "the saver still runs" stopped
  wait_scr
}

if [ "$scenario" = saver-two-monitors ]; then
  start_dummy_xorg
  second_monitor_on
elif [ "$scenario" = saver-monitor-changes ]; then
  start_dummy_xorg
elif [ "$scenario" = saver-tiny-cells ]; then
  start_display 3840x2160
elif [ "$scenario" = saver-too-many-cells ]; then
  start_display 7680x4320
else
  start_display 1024x768
fi
start_session
case "$scenario" in
  saver-bad-system)
    # A SYSTEM that is no number fails at the first trigger: the error box
    # comes in front of the topmost saver (grey, not black or green, in the
    # middle of the screen), and closing it ends the program with status 1.
    set_option SYSTEM abc
    start_saver
    xdotool key space
    within 20 "no box in front of the saver" grey_above 5000 362 309 300 150
    close_box_and_expect 1
    ;;
  saver-two-monitors)
    # Rain on both monitors, each grid laid out for its own: the second
    # one's 42 rows end at line 756, and nothing is drawn below it, where
    # a grid over the desktop's bounding box would go on to line 1080.
    set_option SYSTEM 0
    start_saver
    within 20 "no rain on the primary monitor" stat_above green 10000 0 0 1920 1080
    within 20 "no rain on the second monitor" stat_above green 5000 1920 0 1024 756
    [ "$(screen_stat lit 1920 756 1024 324)" = 0 ] || fail "something is drawn below the second monitor's grid"
    xdotool key space
    expect_end_within 2
    expect_status 0
    ;;
  saver-monitor-changes)
    # Monitors that change while the saver runs, which Wine tells the
    # program of by no message. A second monitor switched on gets a window
    # and rain on a grid of its own (its 78 full columns of 42 rows of 18
    # end at line 756; only the rules' edge column, in the last 10 pixels,
    # may reach below); grown
    # to 1920 x 1080 it takes its window along and gets a grid for that size
    # (60 rows, down to line 1080); switched off, its window goes. The saver
    # goes on throughout and a key still ends it.
    # Each change has 10 s to show: the saver looks for changes on a timer
    # and lets them settle first, and under load Wine's own answer about
    # the monitors comes late; the rule is that it follows them, not how fast.
    set_option SYSTEM 0
    start_saver
    [ "$(saver_windows)" = 1 ] || fail "$(saver_windows) windows shown on one monitor"
    second_monitor_on
    within 10 "no rain on the monitor switched on" stat_above green 5000 1920 0 1024 756
    [ "$(screen_stat lit 1920 756 1014 324)" = 0 ] || fail "the new monitor's grid is not its own"
    [ "$(saver_windows)" = 2 ] || fail "$(saver_windows) windows shown on two monitors"
    xrandr --output DUMMY1 --mode 1920x1080
    within 10 "no rain where the second monitor grew" stat_above green 5000 2944 0 896 1080
    within 10 "no grid for the second monitor's new size" stat_above lit 0 1920 1062 1920 18
    xrandr --output DUMMY1 --off
    within 10 "the window of the monitor switched off stays" saver_windows_are 1
    running || fail "the saver ended when a monitor went"
    stat_above green 10000 0 0 1920 1080 || fail "no rain left on the primary monitor"
    xdotool key space
    expect_end_within 2
    expect_status 0
    ;;
  saver-tiny-cells)
    # Cells of one pixel: 3840 x 2160 of them (8.3 million) are within the
    # grid's ceiling, so the saver runs; the rain falls and a key ends it.
    store_settings WIDTH 1 HEIGHT 1 TEXTSIZE 8 SYSTEM 0
    start_saver
    xdotool key space
    expect_end_within 20
    expect_status 0
    ;;
  saver-too-many-cells)
    # 7680 x 4320 cells of one pixel (33 million) are past the ceiling:
    # start-up ends with the run-time error's box (not the saver, nor a
    # machine out of memory), and closing it ends the program with status 1.
    store_settings WIDTH 1 HEIGHT 1 TEXTSIZE 8 SYSTEM 0
    start_scr /s
    expect_error_box 7680
    close_box_and_expect 1
    ;;
  saver-rain)
    # Cells of 13 x 18: 42 rows cover 756 of the 768 lines; the 12 below
    # stay black.
    start_saver
    within 20 "no rain" stat_above green 5000
    within 20 "no rain in the bottom rows" stat_above lit 0 0 700 1024 56
    [ "$(screen_stat lit 0 756 1024 12)" = 0 ] || fail "something is drawn in the empty strip at the bottom"
    xdotool key space
    expect_end_within 6
    expect_status 0
    ;;
  saver-banner)
    # A key freezes the rain under the banner, which stays 2 s; then the
    # saver ends. The screen is sampled every 100 ms from before the key to
    # the end, and the rules are checked against the samples' times and the
    # moment the program ended (check_banner_samples).
    start_saver
    "$KORVAL_SCREEN_SAMPLE" --every 100 --for 20000 0 0 1024 768 $banner_area >"$work/samples" &
    sampler_pid=$!
    stamp before_key
    xdotool key a
    stamp after_key
    wait_scr
    stamp ended
    kill "$sampler_pid" 2>/dev/null || true
    wait "$sampler_pid" 2>/dev/null || true
    sampler_pid=""
    expect_status 0
    check_banner_samples "$before_key" "$after_key" "$ended" <"$work/samples"
    ;;
  saver-system-zero)
    # SYSTEM 0: no banner. A click on the black strip below the cells hits no
    # cell and does nothing; a click on a cell ends the saver at once.
    set_option SYSTEM 0
    start_saver
    xdotool mousemove 500 762 click 1
    # A negative check: a click that ended the saver would have done so by now.
    sleep 1
    running || fail "a click below the cells ended the saver"
    xdotool mousemove 500 300 click 1
    expect_end_within 2
    expect_status 0
    ;;
  saver-key-ends)
    set_option SYSTEM 0
    start_saver
    xdotool key Return
    expect_end_within 2
    expect_status 0
    ;;
  saver-eight-moves)
    # Seven moves over the cells change nothing; the eighth ends the saver.
    set_option SYSTEM 0
    start_saver
    for step in 1 2 3 4 5 6 7; do
      xdotool mousemove $((100 + step * 40)) 200
      # Apart in time, so that no two moves reach the program as one.
      sleep 0.2
    done
    # A negative check: a seventh move that ended the saver would have done so by now.
    sleep 1
    running || fail "fewer than eight moves ended the saver"
    xdotool mousemove 600 400
    expect_end_within 2
    expect_status 0
    ;;
  saver-stored-sizes)
    # Cells 20 x 30: 25 rows cover 750 lines, the 18 below stay black, and
    # the rows reach lines that 13 x 18 cells would leave black.
    set_option WIDTH 20
    set_option HEIGHT 30
    set_option TEXTSIZE 14
    start_saver
    within 20 "no rain in the last row, at lines 720 to 749" stat_above lit 0 0 720 1024 30
    [ "$(screen_stat lit 0 750 1024 18)" = 0 ] || fail "cells below line 750"
    xdotool key space
    expect_end_within 6
    ;;
  saver-dpi)
    # At 144 DPI the grid is laid out in pixels of 96 to the inch and drawn
    # half as large again: on 1024 x 768 (682 x 512 such pixels) cells of
    # 20 x 40 make 12 rows, 720 lines, where at 96 DPI 19 rows reach line 760.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
    set_option WIDTH 20
    set_option HEIGHT 40
    set_option TEXTSIZE 8
    start_saver
    within 20 "no rain in the last row, at lines 660 to 719" stat_above lit 0 0 660 1000 60
    [ "$(screen_stat lit 0 722 1000 46)" = 0 ] || fail "cells below line 720: the grid was not scaled"
    xdotool key space
    expect_end_within 6
    ;;
  saver-loses-foreground)
    # Another program that takes the foreground ends the saver at once, the
    # banner (on by default) notwithstanding: within a second of that
    # program's window appearing, with status 0.
    start_saver
    wine notepad >/dev/null 2>&1 &
    within 20 "the other program's window did not appear" window_named 'Notepad'
    stamp appeared
    wait_scr
    stamp ended
    expect_status 0
    [ $((ended - appeared)) -le 1000 ] ||
      fail "the saver ended $((ended - appeared)) ms after the other program's window appeared"
    ;;
  saver-second-start)
    # A second start while the saver runs ends at once; the first goes on.
    set_option SYSTEM 0
    start_saver
    first_pid="$scr_pid"
    run_scr /s
    expect_status 0
    scr_pid="$first_pid"
    running || fail "the first saver ended when the second started"
    xdotool key space
    expect_end_within 2
    expect_status 0
    ;;
  saver-bad-width)
    # A WIDTH that is no number: the run-time error in a critical box titled
    # KORVAL, then status 1 once it is closed.
    set_option WIDTH abc
    start_scr /s
    expect_error_box 1024
    close_box_and_expect 1
    ;;
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
    # The watcher may write the map a moment after the window can be found.
    within 20 "the box was not seen mapped" maps_seen
    close_box_and_expect 2
    ;;
  dialog-unit-tests)
    # The dialog's controls driven through their messages (OptionsDialogTest.cpp).
    status=0
    timeout 150 wine "${KORVAL_DIALOG_TESTS:?path of the dialog tests}" || status=$?
    expect_status 0
    ;;
  dialog-saves)
    # Size 12 with gaps of 0 stores the letter's own size; gaps of 3 and -1
    # with NE store that size plus the gaps.
    open_dialog /c
    expect_client_size 323x199
    # Enter on the focused OK presses nothing; the space bar does.
    keys Home Down Down Tab 0 Tab 0 Tab Return
    expect_running "Enter pressed OK"
    end_dialog space
    [ "$(stored TEXTSIZE)" = "REG_SZ 12" ] || fail "TEXTSIZE: $(stored TEXTSIZE)"
    width="$(stored_number WIDTH)" height="$(stored_number HEIGHT)"
    [ "$width" -ge 5 ] && [ "$height" -ge 8 ] || fail "the letter M measured ${width}x${height}"
    [ "$(stored SYSTEM)" = "REG_SZ 1" ] || fail "SYSTEM: $(stored SYSTEM)"

    open_dialog
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    # "NE" is 23 x 20 pixels at 160, 136 of the client area.
    xdotool mousemove $((X + 170)) $((Y + 145)) click 1
    keys Tab 3 Tab minus 1 Tab
    end_dialog space
    all="$(all_settings)"
    [ "$all" = "$(printf 'TEXTSIZE=REG_SZ 12\nWIDTH=REG_SZ %s\nHEIGHT=REG_SZ %s\nSYSTEM=REG_SZ 0' $((width + 3)) $((height - 1)))" ] \
      || fail "stored: $all"
    ;;
  dialog-cancel)
    # The stored values show when the dialog opens: OK without a change
    # stores them again. Esc, CANCEL and closing the window store nothing.
    store_settings TEXTSIZE 14 WIDTH 20 HEIGHT 25 SYSTEM 0
    before="$(all_settings)"
    open_dialog /c
    keys Home Tab 7 Escape
    expect_running "Esc ended it"
    end_dialog Tab Tab Tab space
    [ "$(all_settings)" = "$before" ] || fail "CANCEL changed the settings: $(all_settings)"
    open_dialog /c
    end_dialog alt+F4
    [ "$(all_settings)" = "$before" ] || fail "closing changed the settings: $(all_settings)"
    open_dialog
    end_dialog Tab Tab Tab space
    [ "$(all_settings)" = "$before" ] || fail "the stored values did not show: $(all_settings)"
    ;;
  dialog-empty-gap)
    # An empty gap: a box titled KORVAL, the dialog stays open, nothing stored.
    open_dialog /c
    keys Tab BackSpace Tab Tab space
    wait_for_window '^KORVAL$'
    within 20 "the box could not be closed" box_closed_after_return
    expect_running "the box ended the dialog"
    [ -z "$(stored TEXTSIZE)$(stored WIDTH)$(stored HEIGHT)$(stored SYSTEM)" ] || fail "stored: $(all_settings)"
    # The focus is back on OK: Tab reaches CANCEL.
    end_dialog Tab space
    [ -z "$(stored TEXTSIZE)$(stored WIDTH)$(stored HEIGHT)$(stored SYSTEM)" ] || fail "stored: $(all_settings)"
    ;;
  dialog-bogus-owner)
    # A handle that is no window: the dialog opens all the same, owned by none.
    for arguments in "/c:3735928559" "/c 12345" "/C:0"; do
      # shellcheck disable=SC2086 # split into its words as a host passes them
      open_dialog $arguments
      end_dialog alt+F4
    done
    ;;
  dialog-dpi)
    # At 144 DPI the client area is half as large again.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
    open_dialog /c
    expect_client_size 485x299
    end_dialog alt+F4
    ;;
  *)
    fail "no such scenario"
    ;;
esac
echo "ok ($scenario)"
