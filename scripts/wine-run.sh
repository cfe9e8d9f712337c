#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of its own, quietly: the
# emulator of the Windows tests (cmake/Windows.cmake). The prefix is
# LUMAROLL_WINEPREFIX, made first if it is not there (scripts/wine-prefix.sh).
# Wine's own messages are off (they would mix with the program's lines),
# and Mono and Gecko are never asked for.
set -euo pipefail
prefix=${LUMAROLL_WINEPREFIX:?LUMAROLL_WINEPREFIX names the Wine prefix}
"$(dirname "$0")/wine-prefix.sh" "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
exec /usr/lib/wine/wine64 "$@"
