#!/usr/bin/env bash
# Serves the built web page (build-web/site/, or the folder given) on this
# machine and prints its address; Ctrl-C stops it. Any static web host
# serves the same folder as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
site=${1:-build-web/site}
port=${PORT:-8000}
if [ ! -f "$site/index.html" ]; then
  echo "serve-web.sh: no page in $site/: build it with scripts/build-web.sh" >&2
  exit 1
fi
echo "The demo is at http://localhost:$port/ (Ctrl-C stops the server)"
exec /usr/bin/python3 scripts/serve_web.py "$port" "$site"
