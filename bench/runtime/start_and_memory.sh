#!/usr/bin/env bash
# Time from exec to the window being mapped (polled every 5 ms, so ±5 ms), and resident memory once
# the splash is over. Usage: bench/runtime/start_and_memory.sh [build dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-5}
bin=$(cd "$build/bin" && pwd)
work=$(mktemp -d)
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 & xvfb=$!
trap 'kill $xvfb 2> /dev/null; rm -rf "$work"' EXIT
sleep 1
export DISPLAY=$display ALSOFT_DRIVERS=null
for run in $(seq "$runs"); do
  mkdir -p "$work/$run"
  start=$(date +%s%N)
  APPDATA=$work/$run "$bin/morvane-radio-tuner" > /dev/null 2>&1 & tool=$!
  until xdotool search --onlyvisible --pid "$tool" > /dev/null 2>&1; do sleep 0.005; done
  mapped=$(( ($(date +%s%N) - start) / 1000000 ))
  sleep 6
  rss=$(awk '/VmRSS/ { print $2 }' "/proc/$tool/status")
  echo "run $run: window mapped $mapped ms after exec; resident $(( rss / 1024 )) MB after the splash"
  kill "$tool"; wait "$tool" 2> /dev/null || true
done
