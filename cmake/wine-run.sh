#!/usr/bin/env bash
# Runs one cross-built Windows program under Wine, quietly, in the Wine prefix
# that scripts/windows-wine-prefix.sh made (KORVAL_WINEPREFIX, else the one in
# the build folder the program lies in). CTest runs the test programs through
# this script (CMAKE_CROSSCOMPILING_EMULATOR).
set -euo pipefail
program="$1"
shift
if [ -z "${KORVAL_WINEPREFIX:-}" ]; then
  # The build folder is the nearest folder above the program with a CMakeCache.txt.
  dir="$(cd "$(dirname "$program")" && pwd)"
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do
    dir="$(dirname "$dir")"
  done
  KORVAL_WINEPREFIX="$dir/wine-prefix"
fi
if [ ! -f "$KORVAL_WINEPREFIX/system.reg" ]; then
  echo "wine-run.sh: no Wine prefix in $KORVAL_WINEPREFIX; run scripts/windows-wine-prefix.sh first" >&2
  exit 1
fi
export WINEPREFIX="$KORVAL_WINEPREFIX"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$program" "$@"
