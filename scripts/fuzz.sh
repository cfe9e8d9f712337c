#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for
# its fixed number of iterations (the CTest label "fuzz"). Not part of
# ./test.sh. Installs clang and its runtime when missing.
# LUMAROLL_CMAKE_OPTIONS adds options to the configure step, as for
# scripts/build.sh.
#   scripts/fuzz.sh [extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++-14 >/dev/null || ! dpkg-query -W libclang-rt-14-dev >/dev/null 2>&1; then
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends clang-14 libclang-rt-14-dev
fi
options=()
if [ -n "${LUMAROLL_CMAKE_OPTIONS:-}" ]; then
  IFS=$' \t\n' read -r -d '' -a options <<<"$LUMAROLL_CMAKE_OPTIONS" || true
fi
# Quiet unless the configure step fails or warns (see scripts/build.sh).
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMAROLL_FUZZ=ON \
  -DBUILD_TESTING=OFF "${options[@]}" >"$log" 2>&1; then
  cat "$log" >&2
  echo "fuzz.sh: configuring build-fuzz/ failed" >&2
  exit 1
fi
if grep -q '^CMake [A-Za-z ]*Warning' "$log"; then
  cat "$log" >&2
fi
rm -f "$log" # the exec below leaves no shell to run the trap
cmake --build build-fuzz -j"$(nproc)" --target fuzz_settings fuzz_texture
export ASAN_OPTIONS="detect_leaks=1" LSAN_OPTIONS="suppressions=$PWD/scripts/sanitizer-leaks.supp:print_suppressions=0"
exec scripts/with-display.sh ctest --test-dir build-fuzz -L fuzz --output-on-failure "$@"
