#!/usr/bin/env bash
# A Replace killed at any moment leaves the container either as it was or wholly replaced, and the
# backup beside it. Runs the tool's own backup and rebuild lines through the interpreter and kills
# the interpreter's process group after growing delays.
set -euo pipefail
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export APPDATA=$work/appdata
lib=$APPDATA/Morvane_Radio_Tuner/lib
mkdir -p "$lib" "$work/music"
"$bin/morvane-cmd" "expand \"$bin/lib.win\" -f:* \"$lib\"" > /dev/null

container=$work/music/bgm_01.sab
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=330:duration=20" -ac 2 "$work/orig.wav"
"$lib/vgaudiocli.exe" -i "$work/orig.wav" "$work/orig.hca" --out-format hca --hcaquality high
cat "$lib/tuner.head" "$work/orig.hca" > "$work/pristine.sab"
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=880:duration=30" -ac 2 "$work/music/song.mp3"

backup_line="if not exist \"$container.orig\" (copy \"$container\" \"$container.orig\")"
rebuild_line="cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & ffmpeg.exe -y -i \"replace.mp3\" \"replace.mp3.wav\" & vgaudiocli.exe -i \"replace.mp3.wav\" \"replace.mp3.hca\" --out-format hca --hcaquality high & copy /b \"tuner.head\"+\"replace.mp3.hca\" \"$container\" & del /q replace.mp3 & del /q *.hca & del /q *.wav"

fresh_start() {
  cp "$work/pristine.sab" "$container"
  rm -f "$container.orig"
  rm -f "$lib"/replace* 2>/dev/null || true
  cp "$work/music/song.mp3" "$lib/replace.mp3"
  "$bin/morvane-cmd" "$backup_line" > /dev/null
}

# The replaced container, from one uninterrupted run.
fresh_start
started=$(date +%s%N)
"$bin/morvane-cmd" "$rebuild_line" > /dev/null
took_ms=$(( ($(date +%s%N) - started) / 1000000 ))
cp "$container" "$work/replaced.sab"
cmp -s "$work/replaced.sab" "$work/pristine.sab" && { echo "the rebuild changed nothing"; exit 1; }

outcomes=""
# Kills spread over the whole run, from early in the decoding to after the end.
for percent in 5 25 50 75 90 95 100 105 130; do
  delay=$(awk "BEGIN { printf \"%.3f\", $took_ms * $percent / 100000 }")
  fresh_start
  setsid "$bin/morvane-cmd" "$rebuild_line" > /dev/null & pid=$!
  sleep "$delay"
  kill -9 -- "-$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  cmp -s "$container.orig" "$work/pristine.sab" || { echo "after $delay s: the backup is not the original"; exit 1; }
  if cmp -s "$container" "$work/pristine.sab"; then
    outcomes+=" $delay:old"
  elif cmp -s "$container" "$work/replaced.sab"; then
    outcomes+=" $delay:new"
  else
    echo "after $delay s: the container is neither the old nor the new one"; exit 1
  fi
done
echo "killed after:$outcomes"
case "$outcomes" in *old*) ;; *) echo "no kill landed before the copy"; exit 1 ;; esac

# However loaded the machine, one kill lands right after the container first changes: by then it
# must already be the whole new container, never a part of it.
fresh_start
setsid "$bin/morvane-cmd" "$rebuild_line" > /dev/null & pid=$!
for _ in $(seq 12000); do
  cmp -s "$container" "$work/pristine.sab" || break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.01
done
kill -9 -- "-$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
cmp -s "$container" "$work/replaced.sab" || { echo "the container changed, but not into the new one"; exit 1; }
cmp -s "$container.orig" "$work/pristine.sab" || { echo "the backup is not the original"; exit 1; }
echo "killed as soon as the container changed: new"

# A copy killed half-way (by the file size limit) leaves a temporary file named after its target;
# the next copy to that target removes it.
{ (ulimit -f 100; exec "$bin/morvane-cmd" "copy /y \"$work/pristine.sab\" \"$container\"") > /dev/null; } 2> /dev/null || true
ls -A "$work/music" | grep -q '^\.bgm_01\.sab\.morvane-tmp-' || { echo "no recognisable temporary file"; exit 1; }
"$bin/morvane-cmd" "copy /y \"$work/pristine.sab\" \"$container\"" > /dev/null
leftover=$(ls -A "$work/music" | grep -v -x -e bgm_01.sab -e bgm_01.sab.orig -e song.mp3 || true)
[[ -z "$leftover" ]] || { echo "left in the game's folder: $leftover"; exit 1; }
cmp -s "$container" "$work/pristine.sab" || { echo "the copy after the killed one did not complete"; exit 1; }
