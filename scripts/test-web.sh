#!/usr/bin/env bash
# The web tier: installs what is missing, builds the page (build-web/), runs
# its tests (the GL-free libraries under node, the page in Chromium and in
# Firefox), then prints the frames per second the page draws beside the
# desktop program's (built by ./test.sh or ./run.sh; the page's alone
# without it). Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")"/..
scripts/build-web.sh
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
ctest --test-dir build-web --output-on-failure "$@"
if [ -x build/lumaroll ]; then
  scripts/with-display.sh node bench/web_fps.mjs build-web/site build/lumaroll 10
else
  node bench/web_fps.mjs build-web/site build/lumaroll 10
fi
