#!/usr/bin/env bash
# Installs the Debian packages the demo and its tests need; quick when all are there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl1.2-dev libglew-dev libglm-dev libdevil-dev libassimp-dev libsdl-mixer1.2-dev libvorbis-dev libpng-dev libpulse-dev
  libgtest-dev
  libsdl2-2.0-0
  xvfb libgl1-mesa-dri x11-utils xdotool procps util-linux ffmpeg pulseaudio pulseaudio-utils
  dpkg-dev desktop-file-utils appstream lintian man-db
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
