#!/usr/bin/env bash
# The Windows tier: builds the Windows program (scripts/build-windows.sh)
# and the Linux tree the tests drive it from (scripts/build.sh: the capture
# tool whose frames the window is held to, and the test programs), then runs,
# under Wine in a virtual X server: the GL-free libraries' unit tests built
# for Windows (in build-windows/), then the program's own tests (in build/,
# label "windows"), those that listen to a sound server last, alone. Extra
# arguments go to each ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh
scripts/install-deps.sh
scripts/build.sh
status=0
scripts/with-display.sh ctest --test-dir build-windows --output-on-failure "$@" || status=$?
scripts/with-display.sh ctest --test-dir build --output-on-failure -L windows -LE heard "$@" || status=$?
scripts/with-display.sh ctest --test-dir build --output-on-failure -R '^windows_heard' "$@" || status=$?
exit "$status"
