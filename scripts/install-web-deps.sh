#!/usr/bin/env bash
# Installs what the web page's build and its tests need: from Debian,
# Emscripten, GLM, stb_image, GoogleTest's sources for node, Chromium, and
# Firefox ESR with an X server for Firefox's window and a PulseAudio server
# for its sound; from the npm registry,
# puppeteer-core, which drives both browsers, at the version and hashes that
# tests/platform/web/package-lock.json records (never puppeteer, whose install
# downloads a browser of its own). Node.js and npm are the machine's own.
# Quick when all are there.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(emscripten cmake googletest libstb-dev libglm-dev chromium firefox-esr fonts-dejavu-core xvfb pulseaudio)
scripts/install-packages.sh "${packages[@]}"
command -v npm >/dev/null || { echo "install-web-deps.sh: the web tests need Node.js with npm" >&2; exit 1; }
# npm ci starts again from nothing: only when the lock file is not the one
# the folder was installed from.
if ! cmp -s tests/platform/web/package-lock.json tests/platform/web/node_modules/.installed-from-lock.json; then
  npm ci --prefix tests/platform/web --no-audit --no-fund --ignore-scripts --loglevel=error >/dev/null
  cp tests/platform/web/package-lock.json tests/platform/web/node_modules/.installed-from-lock.json
fi
