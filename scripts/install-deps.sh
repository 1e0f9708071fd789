#!/usr/bin/env bash
# Installs the Debian packages that building, running, testing and packaging
# need, and only those that are missing; then makes the unprivileged user
# that the tests run the XScreenSaver daemon and the sway compositor as
# (both refuse to run as root, or need a seat).
# Run as root (or with sudo available).
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev
  libgtest-dev
  fonts-dejavu-core
  xvfb xdotool x11-utils
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  clang-14 libclang-rt-14-dev
  libxcb-render0-dev libxcb-render-util0-dev
  xscreensaver
  sway grim wtype swayidle qt6-wayland libwayland-dev
  dpkg-dev file
  man-db groff-base
  lintian appstream desktop-file-utils
)

bash "$(dirname "$0")/apt-install-missing.sh" "${packages[@]}"

# The user the XScreenSaver daemon and sway run as in the tests.
daemon_user=korval-test
if ! id -u "$daemon_user" >/dev/null 2>&1; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  echo "Adding the system user $daemon_user (runs the XScreenSaver daemon and sway in the tests)"
  "${sudo_cmd[@]}" useradd --system --no-create-home --shell /usr/sbin/nologin "$daemon_user"
fi
