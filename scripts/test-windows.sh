#!/usr/bin/env bash
# Builds the Windows screen saver (scripts/build-windows.sh) and runs its
# tests under Wine: the unit tests, cross-built, and the whole-program tests
# of korval.scr on virtual X displays. The CTest log lands in
# <build>/ctest-summary.log, which scripts/test.sh counts in its closing line.
#
#   KORVAL_WINDOWS_BUILD_DIR=<dir>   build somewhere other than build-windows/
set -euo pipefail
cd "$(dirname "$0")/.."
build="${KORVAL_WINDOWS_BUILD_DIR:-build-windows}"
jobs="${KORVAL_JOBS:-$(nproc)}"

bash scripts/apt-install-missing.sh xvfb xdotool x11-utils
bash scripts/build-windows.sh

# One self-contained file: nothing but Windows' own DLLs is imported.
imports="$(x86_64-w64-mingw32-objdump -p "$build/korval.scr" | awk '/DLL Name:/ {print $3}' | sort | tr '\n' ' ')"
echo "korval.scr imports: $imports"
for dll in $imports; do
  case "${dll,,}" in
    kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | comctl32.dll | msvcrt.dll | shell32.dll | ole32.dll) ;;
    *) echo "korval.scr imports $dll, which is not one of Windows' own DLLs" >&2; exit 1 ;;
  esac
done

# The prefix is made once, before anything runs in parallel; its Wine server
# is stopped however the tests end.
bash scripts/windows-wine-prefix.sh "$build"
prefix="$(cd "$build" && pwd)/wine-prefix"
stop_wine() { WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT
# One program holds the session open for the whole run (tests/windows/WineSession.cpp).
WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  wine "$build/tests/windows/korval_wine_session.exe" 3600 >/dev/null 2>&1 &
# A test that fails at once with no output is run once more: now and then a
# program under Wine ends before it starts (about one run in three shows one),
# which says nothing about the program.
ctest --test-dir "$build" -j"$jobs" --output-on-failure --repeat until-pass:2 | tee "$build/ctest-summary.log"
