#!/usr/bin/env bash
# Replacing the audio of 20 containers in one batch: --jobs 1 against --jobs N (default 2), with the
# containers each in a folder of its own ("folders") or all in one folder, as a radio station is
# ("station"). Runs alternate, pair by pair; the median speed-up is printed.
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
  APPDATA=$work/appdata "$bin/morvane-radio-tuner" --jobs "$1" "${args[@]}" 2> /dev/null
  echo $(( $(date +%s%N) - t0 ))
}
once 1 > /dev/null # fills the helper cache
for _ in $(seq "$pairs"); do echo "$(once 1) $(once "$jobs")"; done > "$work/pairs"
sort -g -k3 <(awk '{ print $1, $2, $1 / $2 }' "$work/pairs") | awk -v j="$jobs" '{ a += $1; b += $2; r[NR] = $3 } END {
  printf "20 replaces ('"$layout"'): --jobs 1 %.2f s, --jobs %d %.2f s (means); speed-up median %.2f (%.2f to %.2f)\n",
  a / NR / 1e9, j, b / NR / 1e9, r[int((NR + 1) / 2)], r[1], r[NR] }'
