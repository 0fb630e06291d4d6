#!/usr/bin/env bash
# Encoding speed at "high" on one core: a 48 kHz stereo track, best of several runs, as a multiple of
# real time from CPU seconds and from wall seconds (the process is pinned to one processor).
# Usage: encode_speed.sh <path to vgaudiocli.exe> [minutes, default 4] [runs, default 5]
set -euo pipefail
cli=${1:?path to vgaudiocli.exe}
minutes=${2:-4}
runs=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/music_like_wav.sh"

music_like_wav "$minutes" "$work/track.wav"
read -r cpu wall <<< "$(best_time "$runs" taskset -c 0 "$cli" -i "$work/track.wav" "$work/track.hca" --out-format hca --hcaquality high)"
seconds=$((minutes * 60))
echo "encoding ${minutes} min stereo 48 kHz at high, one core, best of $runs: cpu ${cpu} s, wall ${wall} s"
echo "real-time factor: cpu $(echo "scale=0; $seconds / $cpu" | bc -l)x, wall $(echo "scale=0; $seconds / $wall" | bc -l)x"
