#!/usr/bin/env bash
# Fetches sdl12-compat, the SDL 1.2 that current distributions ship (the SDL
# 1.2 interface over SDL2), and unpacks it into DIR without installing it: it
# conflicts with the classic library that the build uses. Afterwards DIR/lib
# holds its libSDL-1.2.so.0, for LD_LIBRARY_PATH. Quick when it is there.
set -euo pipefail
dir=${1:?usage: fetch-sdl12-compat.sh DIR}
package=libsdl1.2-compat
if [ -e "$dir/lib/libSDL-1.2.so.0" ]; then exit 0; fi

mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# apt-get download writes into the current folder; a stale or empty package
# list is refreshed once, which needs root.
if ! (cd "$scratch" && apt-get download -qq "$package" >/dev/null 2>&1); then
  if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq
    (cd "$scratch" && apt-get download -qq "$package")
  else
    echo "fetch-sdl12-compat.sh: 'apt-get download $package' failed; run 'apt-get update' as root and try again" >&2
    exit 1
  fi
fi
rm -rf "$dir/root" "$dir/lib"
dpkg -x "$scratch"/"$package"_*.deb "$dir/root"
library=$(find "$dir/root" -name 'libSDL-1.2.so.0' -path '*sdl12-compat*' | head -n 1)
[ -n "$library" ] || { echo "fetch-sdl12-compat.sh: no libSDL-1.2.so.0 in $package" >&2; exit 1; }
ln -s "$(dirname "$library")" "$dir/lib"
