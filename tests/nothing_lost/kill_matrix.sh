#!/usr/bin/env bash
# kill -9 at swept moments of a Replace, a Restore and an Export; then a second tool with another data
# folder acts on the same container. The game's original always survives (the container or a backup
# holds it), no helper of the killed tool lives on, and once the second tool is done nothing writes
# into the folder. Batch mode, then the window's Replace (driven by the scenario runner, the second
# argument). KILLS=N sweeps N moments an action (default 6).
runner=$(realpath "$2")
source "$(dirname "$0")/../batch/batch_test_prelude.sh" "$1"
kills=${KILLS:-6}
cd "$work"
mkdir -p helpers g
"$bin/morvane-cmd" "expand \"$bin/lib.win\" -f:* \"$work/helpers\"" > /dev/null
# An original that is not the tool's own output: another header before its HCA stream.
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=330:duration=8" -ac 2 orig.wav
helpers/vgaudiocli.exe -i orig.wav orig.hca --out-format hca --hcaquality high > /dev/null
{ head -c 1024 /dev/zero | tr '\0' 'G'; cat orig.hca; } > original.sab
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=880:duration=40" -ac 2 song.wav

tool() { APPDATA=$work/$1 "${program[@]}" "${@:2}"; }
# Every process the killed tool started carries its data folder (or the window's workspace) in its
# environment. A killed process may take a moment to go; one still there after a second lives on.
helpers_alive() {
  local alive
  for _ in $(seq 10); do
    alive=$(grep -lzsx -e "$killed_env" /proc/[0-9]*/environ | grep -v "/proc/$$/" |
      while read -r f; do grep -qzE "(morvane|ffmpeg|vgaudiocli|dd|xxd)" "${f%/environ}/cmdline" 2> /dev/null && echo "$f"; done)
    [ -z "$alive" ] && return
    sleep 0.1
  done
  for f in $alive; do tr '\0' ' ' < "${f%/environ}/cmdline"; done
}
state() { (cd "$1" && find . -type f -exec md5sum {} + | sort; ls -lA --time-style=+%s.%N); }
original_survives() {
  for f in "$1"/t.sab "$1"/t.sab*.orig; do cmp -s "$f" original.sab && return 0; done
  return 1
}
# After the kill a second tool restores at once, as a user would; then no helper of the killed tool is
# left, nothing writes for two seconds, and the original is there.
after_kill() { # WHAT FOLDER
  tool second --restore "$2/t.sab" > /dev/null 2>&1
  [ -z "$(helpers_alive)" ] || fail "$1: helpers live on: $(helpers_alive)"
  local before
  before=$(state "$2")
  sleep 2
  [ "$(state "$2")" = "$before" ] || fail "$1: something wrote after the tools ended"
  original_survives "$2" || fail "$1: the original is gone"
}

prepare() {
  rm -rf g first second && mkdir g && cp original.sab g/t.sab
  if [ "$1" = restore ]; then tool first --replace g/t.sab song.wav 2> /dev/null || fail "restore: no replacement to undo"; fi
}
start() {
  case $1 in
  replace) exec setsid "${program[@]}" --replace g/t.sab song.wav ;;
  restore) exec setsid "${program[@]}" --restore g/t.sab ;;
  export) exec setsid "${program[@]}" --export g/t.sab g/out.wav ;;
  esac
}

total=0
killed_env="APPDATA=$work/first"
for action in replace restore export; do
  # Timed once the helpers are unpacked into the data folder, as they are for every later run.
  prepare "$action"
  (APPDATA=$work/first start "$action" > /dev/null 2>&1)
  prepare "$action"
  began=$(date +%s%N)
  (APPDATA=$work/first start "$action" > /dev/null 2>&1)
  took=$((($(date +%s%N) - began) / 1000000))
  for i in $(seq "$kills"); do
    prepare "$action"
    delay=$(awk "BEGIN { printf \"%.3f\", $took * ($i - 0.5) / ($kills * 1000) }")
    APPDATA=$work/first start "$action" > /dev/null 2>&1 & pid=$!
    sleep "$delay"
    kill -9 "$pid" 2> /dev/null
    wait "$pid" 2> /dev/null
    total=$((total + 1))
    after_kill "$action killed after $delay s" g
  done
done

# The window: imported, then Replace clicked; killed at moments from the click on.
cat > window.scn << SCN
start
until-global init 0 600
shell cp "$work/original.sab" "\${WORK}/t.sab" && echo "\${WORK}" > "$work/window.work"
open "\${WORK}/t.sab"
click 96 144
open "$work/song.wav"
shell touch "$work/window.click"
click 288 144
shell sleep 60
SCN
for i in $(seq "$kills"); do
  rm -f window.work window.click
  "$runner" window.scn > window.out 2>&1 & pid=$!
  for _ in $(seq 600); do [ -e window.click ] && break; sleep 0.05; done
  sleep "$(awk "BEGIN { printf \"%.3f\", 1.5 * ($i - 1) / $kills }")"
  kill -9 "$pid" 2> /dev/null
  wait "$pid" 2> /dev/null
  total=$((total + 1))
  [ -e window.click ] || fail "window: the replace never began: $(cat window.out)"
  killed_env="SCENARIO_WORK=$(cat window.work)"
  after_kill "window killed $i" "$(cat window.work)"
  rm -rf "$(dirname "$(cat window.work)")"
done
echo "$total kills, $failures failures"

# A copy killed half-way (by the file size limit) leaves a short-named temporary file; the next copy
# into that folder removes it.
{ (ulimit -f 100; exec "$bin/morvane-cmd" "copy /y \"$work/original.sab\" \"$work/g/t.sab\"") > /dev/null; } 2> /dev/null
ls -A g | grep -q '^\.morvane-tmp-......$' || fail "no recognisable temporary file: $(ls -A g)"
"$bin/morvane-cmd" "copy /y \"$work/original.sab\" \"$work/g/t.sab\"" > /dev/null
[ -z "$(ls -A g | grep morvane-tmp)" ] || fail "a stale temporary file was left"
[ "$failures" = 0 ]
