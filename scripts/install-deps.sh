#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# and only those that are missing. Run as root (or with sudo available).
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev
  fonts-dejavu-core
  xvfb xdotool x11-utils
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  clang-14 libclang-rt-14-dev
  libxcb-render0-dev libxcb-render-util0-dev
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  # Set behind sudo, which would drop it: keyboard-configuration, pulled in
  # by xserver-xorg-core, asks no question then.
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
