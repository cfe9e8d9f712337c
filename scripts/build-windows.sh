#!/usr/bin/env bash
# Builds the Windows program on Debian: installs what is missing
# (scripts/install-windows-deps.sh), builds the libraries Windows needs from
# Debian's sources once (scripts/build-windows-libraries.sh, into
# build-windows/libraries/), cross-builds the demo and its Windows tests
# into build-windows/ and packs build-windows/lumaroll-<version>-windows-x64.zip.
# LUMAROLL_CMAKE_OPTIONS adds options to the configure step, as for the
# desktop build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-windows-deps.sh
scripts/build-windows-libraries.sh build-windows/libraries
options=()
if [ -n "${LUMAROLL_CMAKE_OPTIONS:-}" ]; then
  IFS=$' \t\n' read -r -d '' -a options <<<"$LUMAROLL_CMAKE_OPTIONS" || true
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cmake -S . -B build-windows -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DLUMAROLL_WINDOWS_DEPS="$PWD/build-windows/libraries" "${options[@]}" >"$log" 2>&1; then
  cat "$log" >&2
  echo "build-windows.sh: configuring build-windows/ failed" >&2
  exit 1
fi
if grep -q '^CMake [A-Za-z ]*Warning' "$log"; then
  cat "$log" >&2
fi
cmake --build build-windows -j"$(nproc)"
(cd build-windows && cpack -G ZIP >"$log" 2>&1) || { cat "$log" >&2; exit 1; }
echo "The Windows program is in $PWD/build-windows/lumaroll-$(sed -n 's/^project(Lumaroll VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)-windows-x64.zip"
