#!/usr/bin/env bash
# Runs the demo under valgrind's memcheck: the whole run (through the capture
# tool, every frame drawn), the live demo stopped by SIGTERM and by SIGINT,
# and the failure paths of the fault matrix. Prints each
# case's leak summary; fails when any block is definitely or indirectly lost
# outside the system libraries that scripts/valgrind.supp names.
#   scripts/memcheck.sh          (logs under build/memcheck/CASE/valgrind.log)
#   scripts/memcheck.sh CASE...  only the cases named (as the summary names them)
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
export LP_NUM_THREADS=0 LUMAROLL_AUDIO=none
memcheck=(valgrind --leak-check=full --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect
  --error-exitcode=99 --keep-debuginfo=yes --suppressions="$root/scripts/valgrind.supp" --num-callers=40)

declare -A wanted=() ran=()
for name in "$@"; do
  wanted["$name"]=1
done

# own_process PID LOG [valgrind]: whether PID is one of this case's processes,
# known by the --log-file=LOG argument that carries the case's own folder (and
# with "valgrind", whether it is valgrind itself). A pid handed to someone
# else's process since never matches, so nothing outside this run is signalled.
own_process() {
  local pid=$1 log=$2 kind=${3:-}
  local -a args
  mapfile -d '' -t args 2>/dev/null <"/proc/$pid/cmdline" || return 1
  [ "${#args[@]}" -gt 0 ] || return 1
  if [ "$kind" = valgrind ]; then
    case "${args[0]##*/}" in valgrind*) ;; *) return 1 ;; esac
  fi
  local arg
  for arg in "${args[@]}"; do
    [ "$arg" = "--log-file=$log" ] && return 0
  done
  return 1
}

# valgrind_of RUN LOG: prints the pid of the run's valgrind process. It is RUN
# itself where with-display.sh found a display and exec'd the command, and
# RUN's child where it runs the command under its own virtual X server.
valgrind_of() {
  local run=$1 log=$2 pid
  local -a children
  mapfile -t children < <(pgrep -P "$run" || true)
  for pid in "$run" "${children[@]}"; do
    if own_process "$pid" "$log" valgrind; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}

# stop_run RUN LOG SECONDS SIGNAL: SECONDS into the run, sends SIGNAL to its
# valgrind process, and to that process only; nothing once the run has ended.
stop_run() {
  local run=$1 log=$2 seconds=$3 signal=$4 waited=0 target
  while [ "$waited" -lt "$seconds" ] && kill -0 "$run" 2>/dev/null; do
    sleep 1
    waited=$((waited + 1))
  done
  # Valgrind may still be on its way in (the virtual X server starts first).
  while own_process "$run" "$log"; do
    if target=$(valgrind_of "$run" "$log"); then
      kill -s "$signal" "$target" 2>/dev/null || true
      return 0
    fi
    sleep 0.2
  done
}

failed=0
# check [--stop-after SECONDS SIGNAL] NAME SETUP ENVIRONMENT PROGRAM [ARGUMENTS...]:
# runs PROGRAM in a fresh copy of data/, after the command SETUP (run in that
# folder), with ENVIRONMENT (one VAR=VALUE, or empty) added; with --stop-after,
# sends SIGNAL to valgrind SECONDS into the run.
check() {
  local stop_seconds="" stop_signal=""
  if [ "$1" = --stop-after ]; then
    stop_seconds=$2 stop_signal=$3
    shift 3
  fi
  local name=$1 setup=$2 environment=$3 program=$4
  shift 4
  if [ "${#wanted[@]}" -gt 0 ] && [ -z "${wanted["$name"]:-}" ]; then
    return 0
  fi
  ran["$name"]=1
  local dir="$work/$name"
  mkdir -p "$dir"
  cp -r "$root/data" "$dir/"
  echo "hres 160 vres 128" > "$dir/data/settings.ini"
  (cd "$dir" && "$setup")
  local -a variables=()
  [ -z "$environment" ] || variables=("$environment")
  local status=0 run
  # In the background, so that this script knows the run's own pid. An
  # asynchronous command starts with Ctrl-C ignored; the demo's answer to
  # SIGINT is part of what is checked, so it gets it back.
  (trap - INT QUIT; cd "$dir" && exec env "${variables[@]}" "$root/scripts/with-display.sh" "${memcheck[@]}" \
    --log-file="$dir/valgrind.log" "$root/build/$program" "$@" >"$dir/out.txt" 2>"$dir/err.txt") &
  run=$!
  if [ -n "$stop_signal" ]; then
    stop_run "$run" "$dir/valgrind.log" "$stop_seconds" "$stop_signal"
  fi
  wait "$run" || status=$?
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

# The fault matrix's set-ups, each run inside its case's folder.
mesh_missing() { rm data/meshes/cube2.obj; }
model_garbage() { cp "$root/data/textures/wall.png" data/meshes/cube2.obj; }
texture_missing() { rm data/textures/rect2.png; }
texture_cut_short() { head -c 100 "$root/data/textures/wall.png" > data/textures/wall.png; }
texture_not_an_image() { echo not an image > data/textures/fade.png; }
music_missing() { rm data/music/vobra.ogg; }
music_not_ogg() { echo not ogg > data/music/vobra.ogg; }
shader_missing() { rm data/shaders/postProcess.vert; }
shader_link_fails() { echo 'void main() { nonsense }' > data/shaders/grid.frag; }
settings_broken() { printf 'hres wide' > data/settings.ini; }
data_dir_unreadable() { rm -rf data; echo a file > data; }
ffmpeg_fails() {
  mkdir bin
  printf '#!/bin/sh\nhead -c 2000 >/dev/null\nexit 1\n' > bin/ffmpeg
  chmod +x bin/ffmpeg
}

# The whole run, every frame drawn, through the capture tool (about 15 minutes).
check whole-run true "" lumaroll-capture --from 0 --to 74032 --size 32x24 --out frames
# The live demo, stopped by a signal: SIGTERM in scene one, SIGINT during
# start-up (which is slow under valgrind). The pictures keep to the music's
# clock, so even under valgrind the run ends about 80 s after its start-up:
# the stop comes well before.
check --stop-after 40 TERM live-stopped true "" lumaroll
check --stop-after 15 INT interrupted-at-start true "" lumaroll
# The failure paths of the fault matrix.
check mesh-missing mesh_missing "" lumaroll
check model-garbage model_garbage "" lumaroll
check texture-missing texture_missing "" lumaroll
check texture-cut-short texture_cut_short "" lumaroll
check texture-not-an-image texture_not_an_image "" lumaroll
check music-missing music_missing "" lumaroll
check music-not-ogg music_not_ogg "" lumaroll
check shader-missing shader_missing "" lumaroll
check shader-link-fails shader_link_fails "" lumaroll
check settings-broken settings_broken "" lumaroll-capture --at 0 --out frames
check data-dir-unreadable data_dir_unreadable "" lumaroll
check no-display true DISPLAY=:4242 lumaroll
check glew-refused true MESA_GL_VERSION_OVERRIDE=1.0 lumaroll
check capture-bad-option true "" lumaroll-capture --size 0x0 --out frames
check capture-unwritable true "" lumaroll-capture --at 0 --out /proc/lumaroll/frames
check capture-ffmpeg-fails ffmpeg_fails "PATH=$work/capture-ffmpeg-fails/bin:/usr/bin:/bin" \
  lumaroll-capture --video v.mp4 --size 16x16

unknown=0
for name in "${!wanted[@]}"; do
  if [ -z "${ran["$name"]:-}" ]; then
    echo "memcheck: no case is called $name"
    unknown=1
  fi
done
if [ "$failed" -ne 0 ]; then
  echo "memcheck found errors or leaks outside the suppressed system libraries"
  exit 1
fi
[ "$unknown" -eq 0 ] || exit 2
echo "memcheck: no definitely or indirectly lost block outside the suppressed system libraries"
