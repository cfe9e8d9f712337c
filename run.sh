#!/usr/bin/env bash
# Installs what is missing, builds, and plays the demo from the repository root.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
exec scripts/with-display.sh ./build/lumaroll "$@"
