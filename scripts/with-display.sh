#!/usr/bin/env bash
# Runs a command on the current X display, or inside a virtual X server (Xvfb)
# when there is none. The 24-bit screen keeps pixel values the same everywhere.
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
echo "No display found: running inside a virtual X server (Xvfb)." >&2
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -nolisten tcp" "$@"
