#!/usr/bin/env bash
# Installs the Debian packages the web page's build and its tests need:
# Emscripten, GLM, stb_image, GoogleTest's sources for node, headless
# Chromium and what drives it; quick when all are there.
set -euo pipefail

packages=(emscripten cmake googletest libstb-dev libglm-dev chromium fonts-dejavu-core python3-websockets python3-pil python3-numpy)
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
