#!/usr/bin/env bash
# The web tier: installs what is missing, builds the page (build-web/), runs
# its tests (the GL-free libraries under node, the page in headless
# Chromium), then prints the frames per second the page draws beside the
# desktop program's. Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")"/..
scripts/install-web-deps.sh
scripts/build-web.sh
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
ctest --test-dir build-web --output-on-failure "$@"
scripts/with-display.sh /usr/bin/python3 bench/web_fps.py build-web/site build/lumaroll 10
