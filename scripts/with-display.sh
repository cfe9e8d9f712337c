#!/usr/bin/env bash
# Runs a command on the current X display, or inside a virtual X server (Xvfb)
# when there is none, and returns the command's exit status. The 24-bit screen
# keeps pixel values the same everywhere.
#
# The server is ours for the length of the command and goes with it:
# - -noreset: an X server resets when its last client disconnects, and SDL
#   opens and closes a probe connection before the window's own, so without
#   it a launch now and then lands in the reset and cannot open its display;
# - its own session, so the Ctrl-C meant for the command does not take the
#   display away while the command is still tearing down;
# - a parent-death signal, so it goes even when this script is killed outright;
#   the command gets one too.
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
echo "No display found: running inside a virtual X server (Xvfb)." >&2

ready=$(mktemp)
setsid setpriv --pdeathsig TERM \
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$ready" >/dev/null 2>&1 &
server=$!
stop_server() {
  # Whatever of ours is still running when this script goes (the command too,
  # when the script itself was signalled) goes with it.
  pkill -TERM -P $$ 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -f "$ready"
}
trap stop_server EXIT

# Xvfb writes its display number once it accepts connections.
for _ in $(seq 100); do
  if grep -q '^[0-9]' "$ready"; then break; fi
  if ! kill -0 "$server" 2>/dev/null; then echo "Xvfb did not start." >&2; exit 1; fi
  sleep 0.1
done
number=$(head -n 1 "$ready")
[ -n "$number" ] || { echo "Xvfb did not report its display." >&2; exit 1; }
export DISPLAY=":$number"

# Not exec'd, so that the trap above runs when the command ends. In the
# foreground, so that Ctrl-C reaches the command itself.
set +e
setpriv --pdeathsig TERM "$@"
exit $?
