#!/usr/bin/env bash
# Peak resident memory of encoding (at "high") and decoding a 48 kHz stereo track, for a short and a
# long track: it should not grow with the length.
# Usage: memory.sh <path to vgaudiocli.exe> [minutes of the tracks, default "4 60"]
set -euo pipefail
cli=${1:?path to vgaudiocli.exe}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/music_like_wav.sh"

for minutes in ${2:-4 60}; do
  music_like_wav "$minutes" "$work/track.wav"
  /usr/bin/time -o "$work/encode.txt" -f "%M" "$cli" -i "$work/track.wav" "$work/track.hca" --out-format hca --hcaquality high
  rm "$work/track.wav"
  /usr/bin/time -o "$work/decode.txt" -f "%M" "$cli" -i "$work/track.hca" "$work/decoded.wav"
  echo "${minutes} min: encoding $(($(cat "$work/encode.txt") / 1024)) MB resident, decoding $(($(cat "$work/decode.txt") / 1024)) MB resident"
  rm -f "$work/track.hca" "$work/decoded.wav"
done
