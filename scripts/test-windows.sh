#!/usr/bin/env bash
# Builds the Windows screen saver (scripts/build-windows.sh) and runs its
# tests under Wine: the unit tests, cross-built, and the whole-program tests
# of korval.scr on virtual X displays. The CTest log lands in
# <build>/ctest-summary.log, which scripts/test.sh counts in its closing line.
#
#   KORVAL_WINDOWS_BUILD_DIR=<dir>   build somewhere other than build-windows/
#   KORVAL_TEST_LOAD=<n>             n busy loops beside the tests (scripts/test-load.sh)
#   KORVAL_WINDOWS_TESTS=<regex>     only the tests whose names match
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/test-load.sh
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

# The archive for Windows users holds the korval.scr that these tests run.
bash scripts/check-windows-zip.sh "$build"

# The prefix is made once, before anything runs in parallel; its Wine server
# is stopped however the tests end.
bash scripts/windows-wine-prefix.sh "$build"
prefix="$(cd "$build" && pwd)/wine-prefix"
stop_wine() { WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT
# One program holds the session open for the whole run
# (tests/windows/WineSession.cpp), and the tests start once it has: a test
# program that started while Wine's server and desktop were still starting,
# or already stopping, could end before its main. The unit tests have no
# display; each whole-program scenario holds a session of its own on its own.
session_line="$(mktemp -u)"
mkfifo "$session_line"
(unset DISPLAY; WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  exec wine "$build/tests/windows/korval_wine_session.exe" 3600 >"$session_line" 2>/dev/null) &
read -r -t 120 ready <"$session_line" || true
rm -f "$session_line"
[ "${ready%$'\r'}" = ready ] || { echo "Wine's session did not start in $prefix" >&2; exit 1; }
ctest --test-dir "$build" -j"$jobs" --output-on-failure ${KORVAL_WINDOWS_TESTS:+-R "$KORVAL_WINDOWS_TESTS"} |
  tee "$build/ctest-summary.log"
