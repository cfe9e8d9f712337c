#!/usr/bin/env bash
# Runs the demo under valgrind's memcheck: the whole run (through the capture
# tool, which plays every frame of it and draws three), a live start-up
# stopped by SIGTERM, and the failure paths of the fault matrix. Prints each
# case's leak summary; fails when any block is definitely or indirectly lost
# outside the system libraries that scripts/valgrind.supp names.
#   scripts/memcheck.sh      (logs under build/memcheck/CASE/valgrind.log)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
command -v valgrind >/dev/null || { echo "memcheck needs valgrind (apt-get install valgrind)"; exit 1; }
scripts/build.sh >/dev/null
# Each case's folder, with its valgrind.log, stays for reading afterwards.
work=$root/build/memcheck
rm -rf "$work"
mkdir -p "$work"

# Slow under valgrind: one software GL thread is enough.
export LP_NUM_THREADS=0 SDL_AUDIODRIVER=dummy
memcheck=(valgrind --leak-check=full --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect
  --error-exitcode=99 --keep-debuginfo=yes --suppressions="$root/scripts/valgrind.supp" --num-callers=40)

failed=0
# check NAME SETUP ENVIRONMENT PROGRAM [ARGUMENTS...]: runs PROGRAM in a fresh
# copy of data/, after SETUP (shell, in that folder), with ENVIRONMENT added.
check() {
  local name=$1 setup=$2 environment=$3 program=$4
  shift 4
  local dir="$work/$name"
  mkdir -p "$dir"
  cp -r "$root/data" "$dir/"
  echo "hres 160 vres 128" > "$dir/data/settings.ini"
  (cd "$dir" && eval "$setup")
  local status=0
  (cd "$dir" && env $environment "$root/scripts/with-display.sh" "${memcheck[@]}" --log-file="$dir/valgrind.log" \
    "$root/build/$program" "$@" >"$dir/out.txt" 2>"$dir/err.txt") || status=$?
  local definite indirect
  definite=$(grep -o "definitely lost: [0-9,]* bytes in [0-9,]* blocks" "$dir/valgrind.log" | tail -n 1 || true)
  indirect=$(grep -o "indirectly lost: [0-9,]* bytes in [0-9,]* blocks" "$dir/valgrind.log" | tail -n 1 || true)
  printf '%-28s status %-3s %s; %s\n' "$name" "$status" "${definite:-definitely lost: none}" \
    "${indirect:-indirectly lost: none}"
  if [ "$status" -eq 99 ]; then
    failed=1
    grep -A30 "are definitely lost\|are indirectly lost\|Invalid \(read\|write\)\|uninitialised\|Invalid free" \
      "$dir/valgrind.log" | head -n 60
  fi
}

check whole-run-capture true "" lumaroll-capture --at 0,30000,60000 --size 64x48 --out frames
# The live demo, stopped by SIGTERM a while into it (start-up is slow under valgrind).
check live-stopped "(sleep 90; pkill -TERM -f \"valgrind[.a-z]* .*/build/lumaroll\$\") >/dev/null 2>&1 &" "" lumaroll
check mesh-missing "rm data/meshes/cube2.obj" "" lumaroll
check texture-cut-short "head -c 100 $root/data/textures/wall.png > data/textures/wall.png" "" lumaroll
check texture-missing "rm data/textures/rect2.png" "" lumaroll
check music-not-ogg "echo not ogg > data/music/vobra.ogg" "" lumaroll
check shader-link-fails "echo 'void main() { nonsense }' > data/shaders/grid.frag" "" lumaroll
check settings-broken "printf 'hres wide' > data/settings.ini" "" lumaroll-capture --at 0 --out frames
check no-display true DISPLAY=:4242 lumaroll
check capture-bad-option true "" lumaroll-capture --size 0x0 --out frames

if [ "$failed" -ne 0 ]; then
  echo "memcheck found errors or leaks outside the suppressed system libraries"
  exit 1
fi
echo "memcheck: no definitely or indirectly lost block outside the suppressed system libraries"
