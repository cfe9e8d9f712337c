#!/usr/bin/env bash
# Makes the Debian package from a build folder configured for /usr, unpacks it
# into a scratch root and checks it as a user would meet it: both launchers
# run from there, the desktop entry, metainfo, icons and man pages are the
# ones the tools accept, and dpkg computed the library dependencies.
#   package-test.sh BUILD_DIR [PACKAGE.deb]
# With a package given, that one is checked instead of making one.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package-test: $*" >&2; exit 1; }
# A PNG's width and height from its header, big-endian at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'; }

if [ $# -ge 2 ]; then
  deb=$(readlink -f "$2")
else
  (cd "$build" && cpack -G DEB) >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack -G DEB failed"; }
  deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' "$work/cpack.log" | tail -n 1)
fi
[ -f "$deb" ] || fail "no package to check (${deb:-cpack named none})"
echo "checking $deb"

version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)
[ -n "$depends" ] || fail "the package has no Depends: the libraries were not looked up"
root=$work/root
dpkg -x "$deb" "$root"

# The program's own version is the package's, less the Debian revision.
printed=$("$root/usr/bin/lumaroll" --version 2>&1) || fail "lumaroll --version failed: $printed"
[ "$printed" = "lumaroll ${version%-*}" ] || fail "lumaroll --version printed '$printed', the package is $version"

# From another folder: the capture writes there and reads the unpacked data.
mkdir "$work/elsewhere"
(cd "$work/elsewhere" && "$root/usr/bin/lumaroll-capture" --at 2000 --size 32x24 --out frames) \
  >"$work/capture.log" 2>&1 || { cat "$work/capture.log"; fail "the packaged capture failed"; }
frame=$work/elsewhere/frames/lumaroll-02000.png
[ -f "$frame" ] || { cat "$work/capture.log"; fail "the packaged capture wrote no frames/lumaroll-02000.png"; }
[ "$(png_size "$frame")" = "32x24" ] || fail "the captured frame is $(png_size "$frame"), not 32x24"

# The menu entry starts an installed command and shows an installed icon; the
# metainfo names that entry.
desktop=$root/usr/share/applications/lumaroll.desktop
metainfo=$root/usr/share/metainfo/io.github.lumaroll.Lumaroll.metainfo.xml
[ -f "$desktop" ] || fail "no desktop entry at /usr/share/applications/lumaroll.desktop"
[ -f "$metainfo" ] || fail "no metainfo at /usr/share/metainfo/$(basename "$metainfo")"
exec_command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/usr/bin/$exec_command" ] || fail "the desktop entry starts '$exec_command', which is not in /usr/bin"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for side in 16 32 48 64 128 256; do
  png=$root/usr/share/icons/hicolor/${side}x${side}/apps/$icon.png
  [ -f "$png" ] || fail "no ${side}x${side} icon '$icon'"
  [ "$(png_size "$png")" = "${side}x${side}" ] || fail "the ${side}x${side} icon is $(png_size "$png")"
done
grep -q "<launchable type=\"desktop-id\">lumaroll.desktop</launchable>" "$metainfo" \
  || fail "$(basename "$metainfo") does not launch lumaroll.desktop"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate refused the desktop entry"
else
  echo "desktop-file-validate not installed: desktop entry not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refused the metainfo"
else
  echo "appstreamcli not installed: metainfo not validated"
fi
for page in man6/lumaroll.6.gz man1/lumaroll-capture.1.gz; do
  [ -f "$root/usr/share/man/$page" ] || fail "no man page $page"
  if command -v man >/dev/null; then
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$root/usr/share/man/$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man warns about $page: $warnings"
  fi
done
if command -v lintian >/dev/null; then
  lintian "$deb" >"$work/lintian.log" 2>&1 || true
  ! grep '^E:' "$work/lintian.log" || fail "lintian found errors"
fi
echo "the package installs and runs: $(basename "$deb"), Depends: $depends"
