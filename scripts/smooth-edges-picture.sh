#!/usr/bin/env bash
# Makes docs/smooth-edges.png: the same two moments (scene one's cross at
# 20000 ms, scene two's ball at 33008 ms) captured at 640x360 plain, with
# msaa 4, and with --supersample 2 and 4; a crop of each, side by side, one
# row a moment. Needs build/lumaroll-capture and ffmpeg.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
capture() { # NAME MSAA SUPERSAMPLE
  mkdir -p "$work/config/$1/lumaroll"
  echo "msaa $2" >"$work/config/$1/lumaroll/settings.ini"
  XDG_CONFIG_HOME="$work/config/$1" build/lumaroll-capture --out "$work/$1" --at 20000,33008 --size 640x360 \
    --supersample "$3" >/dev/null
}
capture plain 0 1
capture msaa 4 1
capture super2 0 2
capture super4 0 4
crop='crop=160:120:240:120,scale=320:240:flags=neighbor'
for moment in 20000 33008; do
  ffmpeg -loglevel error -y -i "$work/plain/lumaroll-$moment.png" -i "$work/msaa/lumaroll-$moment.png" \
    -i "$work/super2/lumaroll-$moment.png" -i "$work/super4/lumaroll-$moment.png" \
    -filter_complex "[0]$crop[a];[1]$crop[b];[2]$crop[c];[3]$crop[d];[a][b][c][d]hstack=4" "$work/row-$moment.png"
done
ffmpeg -loglevel error -y -i "$work/row-20000.png" -i "$work/row-33008.png" -filter_complex vstack docs/smooth-edges.png
echo "docs/smooth-edges.png made"
