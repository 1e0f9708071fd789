#!/usr/bin/env bash
# Checks the archive for Windows users that scripts/build-windows.sh leaves in
# a build folder:
#   bash scripts/check-windows-zip.sh <build folder>
# korval-<version>-windows-x64.zip must hold exactly korval.scr, LICENSE.txt
# and README.txt, the README with CRLF line ends only, and its korval.scr must
# be byte for byte the <build folder>/korval.scr that the tests ran.
set -euo pipefail
build="${1:?usage: check-windows-zip.sh <build folder>}"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
archive="$build/korval-${version:?no project version in $build/CMakeCache.txt}-windows-x64.zip"
fail() { echo "check-windows-zip: $archive: $*" >&2; exit 1; }
[ -f "$archive" ] || fail "missing"
command -v unzip >/dev/null || fail "unzip is needed (apt-get install unzip)"

names=$(unzip -Z1 "$archive" | LC_ALL=C sort | tr '\n' ' ')
[ "$names" = "LICENSE.txt README.txt korval.scr " ] || fail "holds '$names', not LICENSE.txt README.txt korval.scr"

readme=$(mktemp)
trap 'rm -f "$readme"' EXIT
unzip -p "$archive" README.txt >"$readme"
lines=$(tr -cd '\n' <"$readme" | wc -c)
crlf=$(grep -c $'\r$' "$readme" || true)
[ "$lines" -gt 0 ] && [ "$crlf" -eq "$lines" ] || fail "README.txt has $lines lines, $crlf of them ending in CRLF"
[ -s "$build/korval.scr" ] || fail "no $build/korval.scr to compare with"
unzip -p "$archive" korval.scr | cmp -s - "$build/korval.scr" || fail "its korval.scr is not $build/korval.scr"
[ -n "$(unzip -p "$archive" LICENSE.txt)" ] || fail "LICENSE.txt is empty"
echo "check-windows-zip: $archive holds korval.scr (the one built), LICENSE.txt and README.txt (CRLF)"
