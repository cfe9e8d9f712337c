#!/usr/bin/env bash
# Makes docs/windows-and-linux.png: the Windows program's window under Wine
# (left) beside the Linux capture of the same frame (right) at three
# moments, one row each, from the Windows tier's window test. Needs the
# Windows build (scripts/build-windows.sh), build/ and ffmpeg.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
LUMAROLL_WINDOWS_FRAMES=$work scripts/with-display.sh build/tests/platform/windows/e2e/windows_e2e_tests \
  --gtest_filter='WindowsProgram.TheWindowShowsTheLinuxCapturesFrameOfTheSameMoment' >/dev/null
rows=()
for moment in $(cd "$work" && ls windows-*.png | sed 's/windows-\(.*\)\.png/\1/' | sort -n); do
  ffmpeg -loglevel error -y -i "$work/windows-$moment.png" -i "$work/linux-$moment.png" \
    -filter_complex "[0]scale=iw*2:ih*2:flags=neighbor,pad=iw+8:ih:0:0:white[a];[1]scale=iw*2:ih*2:flags=neighbor[b];[a][b]hstack" \
    "$work/row-$moment.png"
  rows+=(-i "$work/row-$moment.png")
done
ffmpeg -loglevel error -y "${rows[@]}" -filter_complex "vstack=inputs=$((${#rows[@]} / 2))" docs/windows-and-linux.png
echo "docs/windows-and-linux.png made"
