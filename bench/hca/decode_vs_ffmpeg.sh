#!/usr/bin/env bash
# Whole-process decoding time of a long stereo HCA stream: vgaudiocli.exe against ffmpeg's HCA decoder.
# Usage: decode_vs_ffmpeg.sh <path to vgaudiocli.exe> [minutes, default 10] [runs, default 3]
set -euo pipefail
cli=${1:?path to vgaudiocli.exe}
minutes=${2:-10}
runs=${3:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A music-like stereo source: two detuned tones with tremolo plus some noise.
ffmpeg -v error -f lavfi -i "aevalsrc=0.3*sin(2*PI*220*t)*(1+0.3*sin(2*PI*3*t))+0.1*sin(2*PI*1760*t)|0.3*sin(2*PI*330*t)+0.05*(random(0)-0.5):s=48000:d=$((minutes * 60))" \
  -c:a pcm_s16le "$work/long.wav"
"$cli" -i "$work/long.wav" "$work/long.hca" --out-format hca --hcaquality high

# CPU seconds (user + sys) and wall seconds of the best of several runs.
measure() {
  local best_cpu="" best_wall=""
  for _ in $(seq "$runs"); do
    # Same start for both: no earlier output to replace, no dirty pages still being written back.
    rm -f "$work/ours.wav" "$work/ffmpeg.wav"
    sync
    /usr/bin/time -o "$work/time.txt" -f "%U %S %e" "$@" > /dev/null 2>&1
    read -r user sys wall < "$work/time.txt"
    local cpu
    cpu=$(echo "$user + $sys" | bc -l)
    if [[ -z "$best_cpu" ]] || (( $(echo "$cpu < $best_cpu" | bc -l) )); then best_cpu=$cpu; fi
    if [[ -z "$best_wall" ]] || (( $(echo "$wall < $best_wall" | bc -l) )); then best_wall=$wall; fi
  done
  echo "$best_cpu $best_wall"
}

read -r ours_cpu ours_wall <<< "$(measure "$cli" -i "$work/long.hca" "$work/ours.wav")"
read -r ff_cpu ff_wall <<< "$(measure ffmpeg -v error -y -i "$work/long.hca" "$work/ffmpeg.wav")"
echo "stream: ${minutes} min stereo 48 kHz, $(stat -c %s "$work/long.hca") bytes"
echo "vgaudiocli: cpu ${ours_cpu} s, wall ${ours_wall} s"
echo "ffmpeg:     cpu ${ff_cpu} s, wall ${ff_wall} s"
echo "ffmpeg / vgaudiocli: cpu $(echo "scale=2; $ff_cpu / $ours_cpu" | bc -l)x, wall $(echo "scale=2; $ff_wall / $ours_wall" | bc -l)x"
