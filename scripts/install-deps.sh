#!/usr/bin/env bash
# Installs the Debian packages the demo and its tests need; quick when all are there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl1.2-dev libglew-dev libglm-dev libdevil-dev libassimp-dev libvorbis-dev libpng-dev libpulse-dev libpipewire-0.3-dev libasound2-dev
  libgtest-dev
  libsdl2-2.0-0
  xvfb libgl1-mesa-dri x11-utils xdotool procps util-linux ffmpeg pulseaudio pulseaudio-utils
  pipewire pipewire-bin pipewire-pulse wireplumber dbus libasound2-plugins
  dpkg-dev desktop-file-utils appstream lintian man-db
)

exec "$(dirname "$0")/install-packages.sh" "${packages[@]}"
