#!/usr/bin/env bash
# Installs what the Windows build and its tests need, from Debian: the
# mingw-w64 cross compiler (POSIX threads), Wine, stb_image, GLM,
# GoogleTest's sources, and the tools the build of the libraries and the
# zip use. The libraries Debian does not build for Windows come from
# Debian's own sources (scripts/build-windows-libraries.sh): a deb-src line
# for the system's own archive and suites is added where there is none, as
# root. Quick when all is there.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
  libstb-dev libglm-dev googletest cmake make dpkg-dev xz-utils zip unzip xvfb pulseaudio pulseaudio-utils)
scripts/install-packages.sh "${packages[@]}"

if ! apt-cache showsrc --only-source libvorbis 2>/dev/null | grep -q '^Version:'; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "install-windows-deps.sh: need root or sudo to add a deb-src line" >&2; exit 1; }
    sudo="sudo"
  fi
  # The system's own archive and suites, from its deb822 or one-line sources.
  source_list=/etc/apt/sources.list.d/lumaroll-sources.sources
  if [ -e /etc/apt/sources.list.d/debian.sources ]; then
    sed -n '/^Types:.*deb/,/^$/p' /etc/apt/sources.list.d/debian.sources | sed 's/^Types:.*/Types: deb-src/' \
      | $sudo tee "$source_list" >/dev/null
  else
    grep -h '^deb ' /etc/apt/sources.list 2>/dev/null | sed 's/^deb /deb-src /' \
      | $sudo tee /etc/apt/sources.list.d/lumaroll-sources.list >/dev/null
  fi
  $sudo apt-get update -qq
fi
