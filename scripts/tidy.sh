#!/usr/bin/env bash
# Runs clang-tidy with the checks in .clang-tidy over the desktop build's
# sources under src/ (the web page's own files are not in its compile
# commands) and fails on any finding, listing them. Installs clang-tidy, and
# what the build needs, when missing. The compile commands come from a folder
# of its own, build-clang-tidy/, only configured: nothing is built.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/install-packages.sh clang-tidy

log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cmake -S . -B build-clang-tidy -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
  >"$log" 2>&1; then
  cat "$log" >&2
  echo "tidy.sh: configuring build-clang-tidy/ failed" >&2
  exit 1
fi

# run-clang-tidy takes the files as a regular expression on their paths.
sources=$(printf '%s/src/' "$PWD" | sed 's/[][\.*^$+?(){}|]/\\&/g')
files=$(grep -c "\"file\": \"$PWD/src/" build-clang-tidy/compile_commands.json || true)
started=$SECONDS
status=0
run-clang-tidy -quiet -j"$(nproc)" -p build-clang-tidy "^$sources" >"$log" 2>&1 || status=$?
took=$((SECONDS - started))

# Its output is coloured whatever it writes to; the colours go, and so do the
# lines it prints for every file (its command, the count of warnings it
# generated and left out as outside our code).
findings=$(sed 's/\x1b\[[0-9;]*m//g' "$log" |
  grep -vE '^clang-tidy(-[0-9]+)? |^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' || true)
count=$(grep -E '^[^ ].*: (warning|error): ' <<<"$findings" | sort -u | wc -l || true)
if [ "$status" -ne 0 ] || [ "$count" -ne 0 ]; then
  [ -z "$findings" ] || printf '%s\n' "$findings"
  echo "clang-tidy: $count findings in $files files under src/ ($took s); each wants a fix, or a NOLINT(check) with its reason" >&2
  exit 1
fi
echo "clang-tidy: $files files under src/ with no finding ($took s)"
