#!/usr/bin/env bash
# Cross-builds the Windows screen saver on Debian: installs what is missing
# (mingw-w64 with posix threads, its tools, Wine, GoogleTest's sources), then
# configures with cmake/mingw-w64.cmake and builds into build-windows/, which
# holds build-windows/korval.scr afterwards, and the archive for Windows
# users beside it, build-windows/korval-<version>-windows-x64.zip (CPack's
# ZIP generator; scripts/check-windows-zip.sh checks it). The whole-program
# tests' X tools run on Linux beside Wine: they are built with the host's
# compiler into build-windows/host/.
#
#   KORVAL_WINDOWS_BUILD_DIR=<dir>   build somewhere other than build-windows/
#   KORVAL_JOBS=<n>                  parallel compile jobs (default: nproc)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/apt-install-missing.sh cmake make \
  g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 googletest unzip \
  g++ pkg-config libxcb1-dev

build="${KORVAL_WINDOWS_BUILD_DIR:-build-windows}"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j"${KORVAL_JOBS:-$(nproc)}"
test -f "$build/korval.scr"
(cd "$build" && cpack -G ZIP >/dev/null)
cmake -S tests/windows/tools -B "$build/host" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/host" -j"${KORVAL_JOBS:-$(nproc)}"
echo "Built $build/korval.scr and the archive beside it"
