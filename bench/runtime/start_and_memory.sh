#!/usr/bin/env bash
# Time from exec to the window being shown and to the first presented frame (a preloaded probe notes
# both), and resident memory once the splash is over. Usage: bench/runtime/start_and_memory.sh [build dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-5}
bin=$(cd "$build/bin" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 & xvfb=$!
trap 'kill $xvfb 2> /dev/null; rm -rf "$work"' EXIT
cc -shared -fPIC -O2 -o "$work/probe.so" "$here/first_present_probe.c" -ldl
sleep 1
export DISPLAY=$display ALSOFT_DRIVERS=null
since_start() { awk -v what="$1" -v start="$2" '$1 == what { printf "%d", ($2 - start) / 1000000 }' "$3"; }
for run in $(seq "$runs"); do
  mkdir -p "$work/$run"
  start=$(date +%s%N)
  START_MARKS_FILE=$work/$run.marks LD_PRELOAD=$work/probe.so APPDATA=$work/$run \
    "$bin/morvane-radio-tuner" > /dev/null 2>&1 & tool=$!
  sleep 6
  rss=$(awk '/VmRSS/ { print $2 }' "/proc/$tool/status")
  echo "run $run: window shown $(since_start mapped "$start" "$work/$run.marks") ms after exec," \
       "first frame presented $(since_start presented "$start" "$work/$run.marks") ms" \
       "(CPU $(since_start cpu 0 "$work/$run.marks") ms);" \
       "resident $(( rss / 1024 )) MB after the splash"
  kill "$tool"; wait "$tool" 2> /dev/null || true
done
