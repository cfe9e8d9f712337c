#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
# The tests that listen to a sound server run after the rest, alone: the
# other end-to-end runs beside them would make gaps and delays in the music
# of their own, and CTest starts a test that asks to run alone beside one
# that is already running.
status=0
# The Windows program's tests (label "windows") are scripts/test-windows.sh's.
scripts/with-display.sh ctest --test-dir build --output-on-failure -j"$(nproc)" -LE 'heard|windows' "$@" || status=$?
scripts/with-display.sh ctest --test-dir build --output-on-failure -L heard -LE windows "$@" || status=$?
exit "$status"
