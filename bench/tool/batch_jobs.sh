#!/usr/bin/env bash
# Replacing the audio of 20 containers in one batch: --jobs 1 against --jobs N (default 2), with the
# containers each in a folder of its own ("folders") or all in one folder, as a radio station is
# ("station"). Runs alternate, pair by pair; the median speed-up is printed. Beside them, the machine's
# own ceiling: the 20 split between N batches of --jobs 1 started side by side (no shared scheduling).
# Usage: bench/tool/batch_jobs.sh [build dir] [pairs] [jobs] [seconds of each track] [folders|station]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
pairs=${2:-3}
jobs=${3:-2}
seconds=${4:-20}
layout=${5:-folders}
bin=$build/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lib"
"$bin/morvane-cmd" "expand \"$bin/lib.win\" -f:* \"$work/lib\"" > /dev/null
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=440:duration=$seconds" -ac 2 -ar 48000 "$work/track.wav"
"$work/lib/vgaudiocli.exe" -i "$work/track.wav" "$work/track.hca" --out-format hca --hcaquality high > /dev/null
cat "$work/lib/tuner.head" "$work/track.hca" > "$work/track.sab"
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=660:duration=$seconds" -ac 2 "$work/song.mp3"

once() {
  local args=()
  rm -rf "$work/c"
  for i in $(seq 20); do
    local container=$work/c/$i/track.sab
    [ "$layout" = station ] && container=$work/c/bgm_$i.sab
    mkdir -p "$(dirname "$container")"
    cp "$work/track.sab" "$container"
    args+=(--replace "$container" "$work/song.mp3")
  done
  local t0; t0=$(date +%s%N)
  if [[ $1 == split ]]; then
    # Each batch takes every jobs-th action (an action is two words after its option).
    local part pids=()
    for ((part = 0; part < jobs; ++part)); do
      local mine=()
      for ((i = part * 3; i < ${#args[@]}; i += 3 * jobs)); do mine+=("${args[@]:i:3}"); done
      APPDATA=$work/appdata "$bin/morvane-radio-tuner" --jobs 1 "${mine[@]}" 2> /dev/null & pids+=($!)
    done
    wait "${pids[@]}"
  else
    APPDATA=$work/appdata "$bin/morvane-radio-tuner" --jobs "$1" "${args[@]}" 2> /dev/null
  fi
  echo $(( $(date +%s%N) - t0 ))
}
once 1 > /dev/null # fills the helper cache
for _ in $(seq "$pairs"); do echo "$(once 1) $(once "$jobs") $(once split)"; done > "$work/pairs"
summary() {
  sort -g -k3 | awk -v what="$1" '{ a += $1; b += $2; r[NR] = $3 } END {
    printf "20 replaces ('"$layout"'), %s: %.2f s against %.2f s (means); speed-up median %.2f (%.2f to %.2f)\n",
    what, b / NR / 1e9, a / NR / 1e9, r[int((NR + 1) / 2)], r[1], r[NR] }'
}
awk '{ print $1, $2, $1 / $2 }' "$work/pairs" | summary "--jobs $jobs against --jobs 1"
awk '{ print $1, $3, $1 / $3 }' "$work/pairs" | summary "$jobs batches side by side against one (the ceiling)"
