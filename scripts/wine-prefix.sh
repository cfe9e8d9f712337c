#!/usr/bin/env bash
# Makes a Wine prefix for the Windows tests in PREFIX, once: Wine's sound
# goes to PulseAudio (the tests' own server, named by PULSE_SERVER; never
# ALSA's card), and a program that crashes ends without a dialog. Quick
# when the prefix is there. Several callers at once make it once.
set -euo pipefail
prefix=${1:?usage: wine-prefix.sh PREFIX}
[ -e "$prefix/.lumaroll-ready" ] && exit 0
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -e "$prefix/.lumaroll-ready" ] && exit 0
rm -rf "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# No display of its own: wineboot's windows go nowhere.
DISPLAY= /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
reg() { DISPLAY= /usr/lib/wine/wine64 reg add "$@" /f >/dev/null 2>&1; }
reg 'HKCU\Software\Wine\Drivers' /v Audio /d pulse
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
/usr/lib/wine/wineserver -w
touch "$prefix/.lumaroll-ready"
