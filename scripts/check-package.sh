#!/usr/bin/env bash
# Builds the Debian package in a build folder with CPack, checks its fields
# and files, installs it with apt-get as a user would, and runs the installed
# program. A korval package that was not installed before is removed again.
# Usage: scripts/check-package.sh [build folder]
set -euo pipefail
build=$(realpath "${1:-build}")

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
package="korval_${version}_$(dpkg --print-architecture).deb"
(cd "$build" && rm -f korval_*.deb && cpack -G DEB >/dev/null)
test -f "$build/$package" || { echo "package: $package was not made" >&2; exit 1; }

field() { dpkg-deb -f "$build/$package" "$1"; }
[ "$(field Package)" = korval ]
[ "$(field Section)" = x11 ]
# Computed from the binary by dpkg-shlibdeps, not written by hand.
field Depends | grep -q 'libqt6gui6 (>='
field Depends | grep -q 'libxcb-render0'
field Recommends | grep -q 'qt6-wayland'
contents=$(dpkg-deb -c "$build/$package")
for file in usr/bin/korval \
            usr/share/xscreensaver/config/korval.xml \
            usr/share/applications/screensavers/korval.desktop \
            usr/share/applications/korval-options.desktop \
            usr/libexec/xsecurelock/saver_korval \
            usr/share/man/man1/korval.1.gz \
            usr/share/doc/korval/copyright \
            usr/share/doc/korval/changelog.gz \
            usr/share/metainfo/org.korval.korval.metainfo.xml; do
  grep -q " \./$file\$" <<<"$contents" || { echo "package: $file is missing" >&2; exit 1; }
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

# Debian's package checker: any error or warning fails the check.
if ! command -v lintian >/dev/null; then
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends lintian >/dev/null
fi
# lintian warns on stderr when it runs as root; its findings go to stdout.
findings=$(lintian --fail-on error,warning "$build/$package" 2>/dev/null) || {
  echo "package: lintian finds errors or warnings:" >&2
  echo "$findings" >&2
  exit 1
}

installed_before=no
dpkg-query -W -f='${Status}' korval 2>/dev/null | grep -q "install ok installed" && installed_before=yes
(cd "$build" && DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "./$package" >/dev/null)
/usr/bin/korval --help | grep -q -- '--window-id'
if [ "$installed_before" = no ]; then
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get purge -y -qq korval >/dev/null
fi
echo "package: $package (section x11, $(field Depends | tr ',' '\n' | wc -l) computed dependencies) passes lintian, installs with apt-get and runs"
