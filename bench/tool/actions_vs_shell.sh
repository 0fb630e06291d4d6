#!/usr/bin/env bash
# Import and Replace of a 4-minute stereo HCA container through the tool, against the same helper
# programs run directly from a shell. Usage: bench/tool/actions_vs_shell.sh [build dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-3}
bin=$(cd "$build/bin" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export APPDATA=$work/appdata
lib=$APPDATA/Morvane_Radio_Tuner/lib
mkdir -p "$lib"
"$bin/morvane-cmd" "expand \"$bin/lib.win\" -f:* \"$lib\"" > /dev/null

ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=440:duration=240" -f lavfi -i "sine=frequency=554:duration=240" \
  -filter_complex "[0][1]amerge=inputs=2" -ar 48000 "$work/long.wav"
"$lib/vgaudiocli.exe" -i "$work/long.wav" "$work/long.hca" --out-format hca --hcaquality high
cat "$lib/tuner.head" "$work/long.hca" > "$work/track.sab"
ffmpeg -nostdin -v error -i "$work/long.wav" "$work/song.mp3"

now() { date +%s%N; }
best() { sort -n | head -1; }

# The tool: a scenario with and without the action; the difference is the action.
scenario() {
  cat > "$work/s.scn" <<SCN
start
until-global init 0 600
shell cp "$work/track.sab" "\${WORK}/track.sab"
$1
quit
SCN
  local t0; t0=$(now)
  "$bin/scenario-runner" "$work/s.scn" > "$work/s.out" || { cat "$work/s.out" >&2; exit 1; }
  echo $(( $(now) - t0 ))
}
import_steps=$'open "${WORK}/track.sab"\nclick 96 144\nexpect-no-message'
replace_steps=$(printf 'open "%s/song.mp3"\nclick 288 144\nexpect-message "Replace complete."' "$work")

direct_import() {
  local t0; t0=$(now)
  (cd "$lib" && for i in 1 2; do ./xxd.exe -u -l 2048 "$work/track.sab" > temp.head; rm temp.head; done
   ./dd.exe if="$work/track.sab" of=t.hca bs=16 skip=36 2> /dev/null
   ./vgaudiocli.exe -i t.hca t.wav > /dev/null && cp t.wav source.wav
   ./ffmpeg.exe -y -i source.wav -ac 2 stream.ogg && rm -f t.hca t.wav)
  echo $(( $(now) - t0 ))
}
direct_replace() {
  local t0; t0=$(now)
  (cd "$lib" && cp "$work/track.sab" "$work/track.copy" && cp "$work/song.mp3" replace.mp3
   ./ffmpeg.exe -y -i replace.mp3 replace.mp3.wav && ./vgaudiocli.exe -i replace.mp3.wav replace.mp3.hca --out-format hca --hcaquality high > /dev/null
   cat tuner.head replace.mp3.hca > "$work/track.out" && rm -f replace.mp3 replace.mp3.hca replace.mp3.wav)
  echo $(( $(now) - t0 ))
}

base=$(for _ in $(seq "$runs"); do scenario ""; done | best)
with_import=$(for _ in $(seq "$runs"); do scenario "$import_steps"; done | best)
with_replace=$(for _ in $(seq "$runs"); do scenario "$import_steps"$'\n'"$replace_steps"; done | best)
shell_import=$(for _ in $(seq "$runs"); do direct_import; done | best)
shell_replace=$(for _ in $(seq "$runs"); do direct_replace; done | best)

tool_import=$(( with_import - base ))
tool_replace=$(( with_replace - with_import ))
awk -v ti="$tool_import" -v si="$shell_import" -v tr="$tool_replace" -v sr="$shell_replace" 'BEGIN {
  printf "import:  tool %.2f s, helpers from a shell %.2f s, ratio %.2f\n", ti / 1e9, si / 1e9, ti / si
  printf "replace: tool %.2f s, helpers from a shell %.2f s, ratio %.2f\n", tr / 1e9, sr / 1e9, tr / sr }'
