#!/usr/bin/env bash
# Whole-process decoding time of a long stereo HCA stream: vgaudiocli.exe against ffmpeg's HCA decoder,
# best of several runs each; then, where valgrind is installed, the instructions each executes for one
# minute of the stream, a figure the machine's load does not change.
# Usage: decode_vs_ffmpeg.sh <path to vgaudiocli.exe> [minutes, default 10] [runs, default 5]
set -euo pipefail
cli=${1:?path to vgaudiocli.exe}
minutes=${2:-10}
runs=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/music_like_wav.sh"

music_like_wav "$minutes" "$work/long.wav"
"$cli" -i "$work/long.wav" "$work/long.hca" --out-format hca --hcaquality high

read -r ours_cpu ours_wall <<< "$(best_time "$runs" "$cli" -i "$work/long.hca" "$work/ours.wav")"
read -r ff_cpu ff_wall <<< "$(best_time "$runs" ffmpeg -nostdin -v error -y -i "$work/long.hca" "$work/ffmpeg.wav")"
echo "stream: ${minutes} min stereo 48 kHz, $(stat -c %s "$work/long.hca") bytes; best of $runs runs"
echo "vgaudiocli: cpu ${ours_cpu} s, wall ${ours_wall} s"
echo "ffmpeg:     cpu ${ff_cpu} s, wall ${ff_wall} s"
echo "ffmpeg / vgaudiocli: cpu $(echo "scale=2; $ff_cpu / $ours_cpu" | bc -l)x, wall $(echo "scale=2; $ff_wall / $ours_wall" | bc -l)x"

if command -v valgrind > /dev/null; then
  music_like_wav 1 "$work/one.wav"
  "$cli" -i "$work/one.wav" "$work/one.hca" --out-format hca --hcaquality high
  count() { (valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 || true) | sed -n "s/.*refs: *//p" | tr -d ,; }
  ours=$(count "$cli" -i "$work/one.hca" "$work/ours.wav")
  theirs=$(count ffmpeg -nostdin -v error -y -threads 1 -i "$work/one.hca" "$work/ffmpeg.wav")
  echo "instructions for 1 min, all threads: vgaudiocli $ours, ffmpeg $theirs, ratio $(echo "scale=2; $theirs / $ours" | bc -l)x"
fi
