#!/usr/bin/env bash
# Installs the Debian packages the web page's build and its tests need, on top
# of the desktop's (scripts/install-deps.sh): Emscripten, GoogleTest's sources
# for node, stb_image, headless Chromium and what drives it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

packages=(emscripten googletest libstb-dev libglm-dev chromium fonts-dejavu-core python3-websockets python3-pil python3-numpy)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
