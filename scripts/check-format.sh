#!/usr/bin/env bash
# Fails, listing what differs, when a tracked C++ file is not as clang-format
# (with the .clang-format at the root) would write it. Installs clang-format
# when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends clang-format
fi
mapfile -t files < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror "${files[@]}"
echo "formatting: ${#files[@]} files as clang-format writes them"
