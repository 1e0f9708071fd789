#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the core
# alone (./build-core), then a normal build (./build), then a clang build
# with AddressSanitizer and UndefinedBehaviorSanitizer (./build-sanitize),
# in which any sanitizer report fails the test that caused it. The sanitizer
# build also holds the libFuzzer targets, which then run briefly from their
# seed corpora.
#
#   KORVAL_QUICK=1 scripts/test.sh     the core and normal builds and their tests only
#   KORVAL_FUZZ_SECONDS=60             fuzzing time per target (default 15: 75 s for all five)
#   KORVAL_TEST_LOAD=2                 two busy loops run beside the whole run (scripts/test-load.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/test-load.sh
source scripts/ctest-summary.sh

bash scripts/install-deps.sh
jobs="$(nproc)"

# The rules alone, with Qt hidden: the core builds and passes its tests
# without any toolkit.
cmake -S . -B build-core -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVAL_CORE_ONLY=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
cmake --build build-core -j"$jobs"
ctest --test-dir build-core -j"$jobs" --output-on-failure | tee build-core/ctest-summary.log

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure | tee build/ctest-summary.log

# The install: the program in bin, the menu entry that opens its options,
# the files that hand it to the screen-saver hosts, the compressed manual
# page, the package's copyright and changelog, and the metainfo.
install_root="$(mktemp -d)"
cmake --install build --prefix "$install_root" >/dev/null
test -x "$install_root/bin/korval"
grep -qx 'Exec=korval /c' "$install_root/share/applications/korval-options.desktop"
grep -qx 'Exec=korval --root' "$install_root/share/applications/screensavers/korval.desktop"
grep -q '<command arg="--root"/>' "$install_root/share/xscreensaver/config/korval.xml"
test -x "$install_root/libexec/xsecurelock/saver_korval"
zgrep -q '^\.TH KORVAL 1' "$install_root/share/man/man1/korval.1.gz"
test -f "$install_root/share/doc/korval/copyright"
zgrep -q '^korval (1\.0)' "$install_root/share/doc/korval/changelog.gz"
# What software centres read, checked as they read it: the metainfo by
# AppStream, the two menu entries by the desktop-entry checker (its hints,
# such as the MATE entry's category of its own, are no fault).
appstreamcli validate --no-net --strict "$install_root/share/metainfo/org.korval.korval.metainfo.xml" >"$install_root/appstream.log" || {
  cat "$install_root/appstream.log" >&2
  exit 1
}
entry_findings=$(desktop-file-validate "$install_root/share/applications/korval-options.desktop" \
                   "$install_root/share/applications/screensavers/korval.desktop" || true)
if grep -E '(error|warning):' <<<"$entry_findings"; then
  echo "install: desktop-file-validate finds fault with a menu entry" >&2
  exit 1
fi
"$install_root/bin/korval" --help >/dev/null
rm -rf "$install_root"
echo "install: bin/korval, the options' menu entry, the XScreenSaver, MATE and xsecurelock files, korval.1.gz, copyright and changelog, the metainfo (appstreamcli and desktop-file-validate accept them)"

# The Debian package, installed with apt-get and run from where it went.
bash scripts/check-package.sh build

# The Windows screen saver, cross-built, and its tests under Wine.
bash scripts/test-windows.sh

if [ "${KORVAL_QUICK:-0}" = 1 ]; then
  summary build-core/ctest-summary.log build/ctest-summary.log build-windows/ctest-summary.log
  exit 0
fi

# Benchmarks are built by the normal build; here they would only cost time.
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 -DKORVAL_BUILD_FUZZ=ON -DKORVAL_BUILD_BENCH=OFF
cmake --build build-sanitize -j"$jobs"

# halt_on_error and -fno-sanitize-recover make every report end the process;
# exit code 66 keeps a report apart from the program's own failure status 1
# in the whole-program tests. lsan.supp names third-party leaks only.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:exitcode=66:suppressions=$PWD/scripts/lsan.supp"
export LSAN_OPTIONS="exitcode=66:suppressions=$PWD/scripts/lsan.supp"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=66"
ctest --test-dir build-sanitize -j"$jobs" --output-on-failure | tee build-sanitize/ctest-summary.log

bash scripts/fuzz.sh build-sanitize "${KORVAL_FUZZ_SECONDS:-15}"

summary build-core/ctest-summary.log build/ctest-summary.log build-windows/ctest-summary.log build-sanitize/ctest-summary.log
