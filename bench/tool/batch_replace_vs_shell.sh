#!/usr/bin/env bash
# Replacing a 4-minute stereo track in batch mode, against the bare helper pipeline run from a shell
# (backup copy, decode, encode, header + stream). Runs alternate, pair by pair; the median ratio is
# printed. Usage: bench/tool/batch_replace_vs_shell.sh [build dir] [pairs]
#   or, to time one side with an outside tool: ... prepare DIR | once batch|shell DIR
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
bin=$build/bin

prepare() {
  local work=$1 lib=$1/lib
  mkdir -p "$lib" "$work/music"
  "$bin/morvane-cmd" "expand \"$bin/lib.win\" -f:* \"$lib\"" > /dev/null
  ffmpeg -nostdin -v error -y -f lavfi -i "sine=frequency=440:duration=240" -f lavfi \
    -i "sine=frequency=554:duration=240" -filter_complex "[0][1]amerge=inputs=2" -ar 48000 "$work/long.wav"
  "$lib/vgaudiocli.exe" -i "$work/long.wav" "$work/long.hca" --out-format hca --hcaquality high > /dev/null
  cat "$lib/tuner.head" "$work/long.hca" > "$work/track.sab"
  ffmpeg -nostdin -v error -y -i "$work/long.wav" "$work/song.mp3"
}

once() {
  local side=$1 work=$2 lib=$2/lib
  cp "$work/track.sab" "$work/music/track.sab"
  rm -f "$work/music/track.sab.orig"
  if [ "$side" = batch ]; then
    APPDATA=$work/appdata "$bin/morvane-radio-tuner" --replace "$work/music/track.sab" "$work/song.mp3" 2> /dev/null
  else
    (cd "$lib" && cp "$work/music/track.sab" "$work/music/track.sab.orig" && cp "$work/song.mp3" replace.mp3 &&
     ./ffmpeg.exe -y -i replace.mp3 replace.mp3.wav 2> /dev/null &&
     ./vgaudiocli.exe -i replace.mp3.wav replace.mp3.hca --out-format hca --hcaquality high > /dev/null &&
     cat tuner.head replace.mp3.hca > "$work/music/track.sab" && rm -f replace.mp3 replace.mp3.hca replace.mp3.wav)
  fi
}

case "${2:-}" in
prepare) prepare "$3"; exit ;;
once) once "$3" "$4"; exit ;;
esac

pairs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prepare "$work"
now() { date +%s%N; }
pairs_file=$work/pairs
for _ in $(seq "$pairs"); do
  t0=$(now); once batch "$work"; t1=$(now); once shell "$work"; t2=$(now)
  echo "$(( t1 - t0 )) $(( t2 - t1 ))" >> "$pairs_file"
done
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
batch_s=$(awk '{ print $1 / 1e9 }' "$pairs_file" | median)
shell_s=$(awk '{ print $2 / 1e9 }' "$pairs_file" | median)
ratio=$(awk '{ print $1 / $2 }' "$pairs_file" | median)
range=$(awk '{ print $1 / $2 }' "$pairs_file" | sort -g | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%.3f to %.3f", lo, hi }')
printf 'replace, 4-minute track: batch %.2f s, helpers from a shell %.2f s (medians); ratio median %.3f (%s)\n' \
  "$batch_s" "$shell_s" "$ratio" "$range"
