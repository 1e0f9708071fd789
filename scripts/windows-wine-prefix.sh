#!/usr/bin/env bash
# Makes the Wine prefix that the Windows tests run in, once per run and before
# anything runs in parallel: <build folder>/wine-prefix, 64-bit, without the
# .NET and HTML runtimes (Wine would offer to download them), then waits for
# Wine to settle so that the first test does not meet a prefix half made.
#
#   bash scripts/windows-wine-prefix.sh [build folder]     (default build-windows)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-windows}"
mkdir -p "$build"
prefix="$(cd "$build" && pwd)/wine-prefix"

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# wineboot needs no display; without one it must not try to reach one that
# happens to be named in the environment.
unset DISPLAY

# A prefix from an earlier run is made again: the tests start from Wine's own
# defaults (an empty HKEY_CURRENT_USER\Software\VB and VBA Program Settings).
if [ -d "$prefix" ]; then
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
fi
wineboot -i >/dev/null 2>&1
wineserver -w
test -f "$prefix/system.reg"
# One Wine server for the whole run: a program then starts in a tenth of a
# second instead of three. It ends by itself a minute after the last program
# (or at once with: WINEPREFIX=<prefix> wineserver -k).
wineserver -p60
echo "Wine prefix: $prefix ($(wine --version 2>/dev/null))"
