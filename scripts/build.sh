#!/usr/bin/env bash
# Configures and builds into build/ (Release with debug information), for an
# install under /usr, where the Debian package puts it (`cmake --install
# build --prefix DIR` installs elsewhere).
# LUMAROLL_CMAKE_OPTIONS adds options to the configure step, split at white
# space (CI sets -DLUMAROLL_WERROR=ON there).
set -euo pipefail
cd "$(dirname "$0")/.."
options=()
if [ -n "${LUMAROLL_CMAKE_OPTIONS:-}" ]; then
  IFS=$' \t\n' read -r -d '' -a options <<<"$LUMAROLL_CMAKE_OPTIONS" || true
fi
# The configure step says nothing when all is well; when it fails, or warns,
# everything it printed is shown, the lines around the error included.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr "${options[@]}" >"$log" 2>&1; then
  cat "$log" >&2
  echo "build.sh: configuring build/ failed" >&2
  exit 1
fi
if grep -q '^CMake [A-Za-z ]*Warning' "$log"; then
  cat "$log" >&2
fi
cmake --build build -j"$(nproc)"
