#!/usr/bin/env bash
# CPU time of the tool's idle frames: the desktop executable under Xvfb, measured over 600 frames
# (10 s at 60 frames a second) once the start-up splash is over. Usage: bench/runtime/idle_frame_cpu.sh [build dir]
set -euo pipefail
build=${1:-build}
bin=$(cd "$build/bin" && pwd)
work=$(mktemp -d)
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1024x768x24 > /dev/null 2>&1 & xvfb=$!
trap 'kill $tool $xvfb 2> /dev/null; rm -rf "$work"' EXIT
sleep 1
APPDATA=$work DISPLAY=$display ALSOFT_DRIVERS=null "$bin/morvane-radio-tuner" > /dev/null 2>&1 & tool=$!
sleep 6 # the splash: about four seconds
# The whole process, and its main thread alone (the frame loop; without Mesa's rasteriser threads,
# which do on the CPU what a graphics card does elsewhere).
ticks() { awk '{ print $14 + $15 }' "$1"; }
hz=$(getconf CLK_TCK)
all_before=$(ticks "/proc/$tool/stat")
main_before=$(ticks "/proc/$tool/task/$tool/stat")
sleep 10
all_after=$(ticks "/proc/$tool/stat")
main_after=$(ticks "/proc/$tool/task/$tool/stat")
report() {
  awk -v t="$2" -v hz="$hz" -v what="$1" 'BEGIN {
    cpu = t / hz
    printf "600 idle frames, %s: %.2f CPU seconds, %.2f ms a frame, %.1f%% of one core\n", what, cpu, cpu * 1000 / 600, cpu / 10 * 100 }'
}
report "whole process" $(( all_after - all_before ))
report "main thread" $(( main_after - main_before ))
