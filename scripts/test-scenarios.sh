#!/usr/bin/env bash
# Builds both programs and runs only their whole-program tests: the Linux
# program's (tests/e2e, on Xvfb and Xorg) and korval.scr's under Wine
# (tests/windows/program-test.sh). These are the tests that a slow or busy
# machine could upset; prove them on one with
#
#   KORVAL_TEST_LOAD=2 bash scripts/test-scenarios.sh
#
# scripts/test.sh runs them too, among all the others.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/test-load.sh
source scripts/ctest-summary.sh

bash scripts/install-deps.sh
jobs="$(nproc)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure -R '^e2e\.' | tee build/scenarios-summary.log
KORVAL_WINDOWS_TESTS='^windows\.program\.' bash scripts/test-windows.sh
summary build/scenarios-summary.log build-windows/ctest-summary.log
