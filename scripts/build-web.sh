#!/usr/bin/env bash
# Builds the web page into build-web/site/ (or the folder given), which any
# static web host serves as it is: index.html, lumaroll.js, lumaroll.wasm and
# lumaroll.data (the packed data/). Installs what is missing first
# (scripts/install-web-deps.sh). LUMAROLL_CMAKE_OPTIONS adds options to the
# configure step, as for the desktop build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-web-deps.sh
site=${1:-build-web/site}
options=()
if [ -n "${LUMAROLL_CMAKE_OPTIONS:-}" ]; then
  IFS=$' \t\n' read -r -d '' -a options <<<"$LUMAROLL_CMAKE_OPTIONS" || true
fi
# Emscripten's node tools find their modules (acorn) among Debian's.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# The emulator is node as it is: Emscripten's default adds a threads flag.
if ! emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DLUMAROLL_SITE_DIR="$(realpath -m "$site")" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node);--no-experimental-fetch" "${options[@]}" >"$log" 2>&1; then
  cat "$log" >&2
  echo "build-web.sh: configuring build-web/ failed" >&2
  exit 1
fi
cmake --build build-web -j"$(nproc)"
echo "The web page is in $(realpath "$site")/ (scripts/serve-web.sh serves it)"
