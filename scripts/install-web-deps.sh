#!/usr/bin/env bash
# Installs the Debian packages the web page's build and its tests need:
# Emscripten, GLM, stb_image, GoogleTest's sources for node, headless
# Chromium and what drives it; quick when all are there.
set -euo pipefail

packages=(emscripten cmake googletest libstb-dev libglm-dev chromium fonts-dejavu-core python3-websockets python3-pil python3-numpy)
exec "$(dirname "$0")/install-packages.sh" "${packages[@]}"
