#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs both launchers from
# another folder: they must find the installed data, not the one here.
#   install-test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
mkdir "$work/elsewhere"
cd "$work/elsewhere"

# The capture writes where it is called from, from the installed data.
"$work/prefix/bin/lumaroll-capture" --at 2000 --size 32x24 --out frames >"$work/capture.log" 2>&1 \
  || { cat "$work/capture.log"; echo "the installed capture failed"; exit 1; }
[ -f frames/lumaroll-02000.png ] || { echo "no frame written from the installed capture"; exit 1; }

# The demo loads its mesh before it opens a window: with no X server it ends
# at the window (status 1), which shows it found its data.
status=0
DISPLAY=:4242 "$work/prefix/bin/lumaroll" >"$work/demo.log" 2>&1 || status=$?
if [ "$status" -ne 1 ] || ! grep -q "Unable to open the window" "$work/demo.log"; then
  cat "$work/demo.log"; echo "the installed demo did not find its data (status $status)"; exit 1
fi
echo "installed launchers run from anywhere"
