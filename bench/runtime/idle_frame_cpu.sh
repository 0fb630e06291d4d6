#!/usr/bin/env bash
# CPU time of the tool's idle frames: the desktop executable under Xvfb, measured over 600 frames
# (10 s at 60 frames a second) once the start-up splash is over, from the scheduler's nanosecond
# counts of every thread. Beside it, over the same seconds, the floor: a process that only wakes 60
# times a second (wakeup_floor.c), which on a virtual machine can alone cost a quarter of a per cent;
# and one that also reads 128 KB scattered after each wake-up, what a frame's first touch of its code and
# data costs when other work has pushed them out of the caches while it slept.
# Usage: bench/runtime/idle_frame_cpu.sh [build dir] [seconds]
set -euo pipefail
build=${1:-build}
seconds=${2:-10}
bin=$(cd "$build/bin" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
cc -O2 -o "$work/wakeup_floor" "$here/wakeup_floor.c"
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 & xvfb=$!
# The tool first: an X server gone in the middle of its clean-up ends it without one.
trap 'kill $tool 2> /dev/null; wait $tool; kill $xvfb; wait; rm -rf "$work"' EXIT
sleep 1
APPDATA=$work DISPLAY=$display ALSOFT_DRIVERS=null "$bin/morvane-radio-tuner" > /dev/null 2>&1 & tool=$!
sleep 6 # the splash: about four seconds
# Nanoseconds on the CPU: every thread of the process, and the main thread (the frame loop) alone.
all_threads() { cat /proc/"$tool"/task/*/schedstat | awk '{ sum += $1 } END { print sum }'; }
main_thread() { awk '{ print $1 }' "/proc/$tool/task/$tool/schedstat"; }
all_before=$(all_threads); main_before=$(main_thread)
"$work/wakeup_floor" "$seconds" > "$work/floor" & floor=$!
"$work/wakeup_floor" "$seconds" 128 > "$work/floor-128" & floor128=$!
sleep "$seconds"
all_after=$(all_threads); main_after=$(main_thread)
wait $floor $floor128
report() {
  awk -v ns="$2" -v s="$seconds" -v what="$1" 'BEGIN {
    frames = s * 60
    printf "%d idle frames, %s: %.3f CPU seconds, %.3f ms a frame, %.2f%% of one core\n", frames, what, ns / 1e9, ns / 1e6 / frames, ns / 1e9 / s * 100 }'
}
report "whole process" $(( all_after - all_before ))
report "main thread" $(( main_after - main_before ))
report "the floor (60 bare wake-ups a second)" "$(cat "$work/floor")"
report "60 wake-ups a second, each reading 128 KB" "$(cat "$work/floor-128")"
