#!/usr/bin/env bash
# Builds the libraries the Windows program needs and Debian does not build
# for Windows (classic SDL 1.2, GLEW, libogg, libvorbis) from Debian's own
# sources, with the mingw-w64 cross compiler, into PREFIX: include/, lib/
# (static libraries, SDL's import library and SDLmain) and bin/SDL.dll.
# Quick when PREFIX already holds them for these source versions.
#
# A cache outside the build folder (LUMAROLL_WINDOWS_CACHE, by default
# ~/.cache/lumaroll) keeps a copy keyed by the sources' versions and this
# script's own contents, so that a fresh clone (CI) does not build them again.
set -euo pipefail
prefix=${1:?usage: build-windows-libraries.sh PREFIX}
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
host=x86_64-w64-mingw32
packages=(libsdl1.2 glew libogg libvorbis)

version_of() {
  apt-cache showsrc --only-source "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -n 1
}
versions=()
for package in "${packages[@]}"; do
  version=$(version_of "$package")
  if [ -z "$version" ]; then
    echo "build-windows-libraries.sh: no Debian source for $package: is there a deb-src line (scripts/install-windows-deps.sh adds one)?" >&2
    exit 1
  fi
  versions+=("$package=$version")
done
key=$( (printf '%s\n' "${versions[@]}"; cat "$0") | sha256sum | cut -c1-16)
stamp="$prefix/.built-$key"
[ -e "$stamp" ] && exit 0

cache=${LUMAROLL_WINDOWS_CACHE:-$HOME/.cache/lumaroll}/windows-libraries-$key
if [ -e "$cache/.built-$key" ]; then
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  cp -a "$cache" "$prefix"
  echo "Windows libraries taken from $cache"
  exit 0
fi

echo "Building the Windows libraries (${versions[*]}) into $prefix; a few minutes, once"
rm -rf "$prefix"
mkdir -p "$prefix"/{include,lib,bin}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
jobs=$(nproc)
log="$scratch/log"

# Each step's output goes to the log, shown whole when the step fails.
quietly() {
  if ! "$@" >>"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "build-windows-libraries.sh: failed: $*" >&2
    exit 1
  fi
}

cd "$scratch"
for package in "${packages[@]}"; do
  quietly apt-get source -qq "$package"
done

export CC=$host-gcc CXX=$host-g++ AR=$host-ar RANLIB=$host-ranlib
common=(--host="$host" --prefix="$prefix" --disable-dependency-tracking)

# SDL 1.2 as a DLL, with its entry library. Standard output stays the
# console's (SDLmain would send it to stdout.txt).
(cd libsdl1.2-*/ && quietly ./configure "${common[@]}" --enable-shared --disable-static --disable-stdio-redirect \
  && quietly make -j"$jobs" && quietly make install)
# Without its debugging information, as the zip ships it.
quietly $host-strip --strip-unneeded "$prefix/bin/SDL.dll"

(cd libogg-*/ && quietly ./configure "${common[@]}" --disable-shared --enable-static \
  && quietly make -j"$jobs" && quietly make install)
(cd libvorbis-*/ && quietly ./configure "${common[@]}" --disable-shared --enable-static --with-ogg="$prefix" \
  && quietly make -j"$jobs" && quietly make install)

# GLEW from its one source file, static: whoever includes it defines GLEW_STATIC.
(cd glew-*/ \
  && quietly "$CC" -O2 -DGLEW_STATIC -DGLEW_NO_GLU -Iinclude -c src/glew.c -o glew.o \
  && quietly "$AR" rcs "$prefix/lib/libglew32s.a" glew.o \
  && mkdir -p "$prefix/include/GL" && cp include/GL/glew.h include/GL/wglew.h "$prefix/include/GL/")

touch "$stamp"
mkdir -p "$(dirname "$cache")"
rm -rf "$cache.partial"
cp -a "$prefix" "$cache.partial" && mv "$cache.partial" "$cache" || echo "build-windows-libraries.sh: could not keep a copy in $cache" >&2
echo "Windows libraries built into $prefix"
