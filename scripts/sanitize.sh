#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ and runs the unit and GL tests there (the end-to-end runs
# start the programs through stdbuf, whose preload ASan refuses to follow).
#   scripts/sanitize.sh             the tests
#   scripts/sanitize.sh --full-run  and a whole run of the demo, at 160x128
# Leaks inside the system's GL, X and audio libraries are suppressed
# (scripts/sanitizer-leaks.supp says which and why); anything else fails.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMAROLL_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$(nproc)"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:exitcode=86"
export LSAN_OPTIONS="suppressions=$root/scripts/sanitizer-leaks.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
scripts/with-display.sh ctest --test-dir build-sanitize -LE e2e --output-on-failure -j"$(nproc)"

if [ "${1:-}" = "--full-run" ]; then
  run=$(mktemp -d)
  trap 'rm -rf "$run"' EXIT
  cp -r data "$run/"
  echo "hres 160 vres 128" > "$run/data/settings.ini"
  echo "A whole run of the demo under the sanitizers (about 80 s or more)..."
  (cd "$run" && LUMAROLL_AUDIO=none "$root/scripts/with-display.sh" "$root/build-sanitize/lumaroll" \
    >"$run/out.txt" 2>"$run/err.txt") || { tail -n 40 "$run/err.txt"; echo "the run failed"; exit 1; }
  if [ -s "$run/err.txt" ] && grep -v "^No display found" "$run/err.txt" | grep -q .; then
    cat "$run/err.txt"; echo "the run reported on standard error"; exit 1
  fi
  echo "The whole run passed under the sanitizers with no report."
fi
