#!/usr/bin/env bash
# Plays the demo in a virtual X server and saves a picture of its window after
# the given number of seconds (start-up wait included), then quits it.
#   scripts/screenshot.sh SECONDS OUTPUT.png
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?seconds}
output=$(realpath -m "${2:?output file}")
command -v import >/dev/null || { echo "needs ImageMagick's import (apt-get install imagemagick)" >&2; exit 1; }
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" bash -c '
  ./build/lumaroll >/dev/null &
  demo=$!
  sleep "$0"
  window=$(xdotool search --name "^Lumaroll - ZEQ 2012$" | head -n 1)
  if [ -z "$window" ]; then echo "the demo has no window" >&2; kill "$demo" 2>/dev/null; exit 1; fi
  import -window "$window" "$1"
  xdotool windowfocus --sync "$window" keydown Escape sleep 0.3 keyup Escape
  wait "$demo"
' "$seconds" "$output"
