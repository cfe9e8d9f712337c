#!/usr/bin/env bash
# Runs the demo under valgrind's memcheck: the whole run (through the capture
# tool, every frame drawn), the live demo stopped by SIGTERM and by SIGINT,
# and the failure paths of the fault matrix. Prints each
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

# The whole run, every frame drawn, through the capture tool (about 15 minutes).
check whole-run true "" lumaroll-capture --from 0 --to 74032 --size 32x24 --out frames
# The live demo, stopped by a signal: SIGTERM in scene one, SIGINT during
# start-up (which is slow under valgrind).
stop_after() { echo "(sleep $1; pkill -$2 -f \"^[^ ]*valgrind[.a-z]* .*/build/lumaroll\$\") >/dev/null 2>&1 &"; }
check live-stopped "$(stop_after 90 TERM)" "" lumaroll
check interrupted-at-start "$(stop_after 15 INT)" "" lumaroll
# The failure paths of the fault matrix.
check mesh-missing "rm data/meshes/cube2.obj" "" lumaroll
check model-garbage "cp $root/data/textures/wall.png data/meshes/cube2.obj" "" lumaroll
check texture-missing "rm data/textures/rect2.png" "" lumaroll
check texture-cut-short "head -c 100 $root/data/textures/wall.png > data/textures/wall.png" "" lumaroll
check texture-not-an-image "echo not an image > data/textures/fade.png" "" lumaroll
check music-missing "rm data/music/vobra.ogg" "" lumaroll
check music-not-ogg "echo not ogg > data/music/vobra.ogg" "" lumaroll
check shader-missing "rm data/shaders/postProcess.vert" "" lumaroll
check shader-link-fails "echo 'void main() { nonsense }' > data/shaders/grid.frag" "" lumaroll
check settings-broken "printf 'hres wide' > data/settings.ini" "" lumaroll-capture --at 0 --out frames
check data-dir-unreadable "rm -rf data; echo a file > data" "" lumaroll
check no-display true DISPLAY=:4242 lumaroll
check glew-refused true MESA_GL_VERSION_OVERRIDE=1.0 lumaroll
check capture-bad-option true "" lumaroll-capture --size 0x0 --out frames
check capture-unwritable true "" lumaroll-capture --at 0 --out /proc/lumaroll/frames
check capture-ffmpeg-fails "mkdir bin; printf '#!/bin/sh\nhead -c 2000 >/dev/null\nexit 1\n' > bin/ffmpeg; chmod +x bin/ffmpeg" \
  "PATH=$work/capture-ffmpeg-fails/bin:/usr/bin:/bin" lumaroll-capture --video v.mp4 --size 16x16

if [ "$failed" -ne 0 ]; then
  echo "memcheck found errors or leaks outside the suppressed system libraries"
  exit 1
fi
echo "memcheck: no definitely or indirectly lost block outside the suppressed system libraries"
