#!/usr/bin/env bash
# What a still window costs: the desktop executable under Xvfb, from the scheduler's counts of every
# thread of the process (nanoseconds on the CPU, and times it was put on a CPU: its wake-ups), over
# SECONDS of stillness in three states of one session:
#   no file        once the start-up splash is over and the window has settled;
#   focus change   after the focus went to another window and came back, once the fade settled;
#   file paused    a demo container handed over by a second start, played for two seconds, paused.
# Given a second build (the commit to compare with), it is measured the same way, one session after the
# other, and the ratios printed. Beside the first, over the same seconds, the floors: a process that
# only wakes 60 times a second (wakeup_floor.c), which on a virtual machine can alone cost a quarter of
# a per cent, and one that also reads 128 KB scattered after each wake-up, what a frame's first touch
# of its code and data costs when other work has pushed them out of the caches while it slept.
# Usage: bench/runtime/idle_frame_cpu.sh [build dir] [seconds] [baseline build dir]
#   SOUND_SERVER=pulse: the tool plays through a PulseAudio of the benchmark's own (else OpenAL's null
#   device), whose CPU time is counted beside the tool's.
#   SETTLE_FOCUS (seconds, default 50): the wait after the focus came back. The panel's shade fades
#   toward 0 by a quarter a frame, through the smallest doubles: about 43 s until it stops changing.
set -euo pipefail
build=${1:-build}
seconds=${2:-20}
baseline=${3:-}
settle_focus=${SETTLE_FOCUS:-50}
here=$(cd "$(dirname "$0")" && pwd)
bins=("$(cd "$build/bin" && pwd)")
labels=("this build")
if [[ -n "$baseline" ]]; then
  bins+=("$(cd "$baseline/bin" && pwd)")
  labels+=("baseline")
fi
work=$(mktemp -d)
cc -O2 -o "$work/wakeup_floor" "$here/wakeup_floor.c"
source "$here/../../tests/platform/private_display.sh"
tool=
trap '[[ -n "$tool" ]] && kill $tool 2> /dev/null && wait $tool; kill $xvfb_pid ${pulse_pid:-}; wait; rm -rf "$work"' EXIT
start_private_display "$work" || exit 1
drivers=null
if [[ ${SOUND_SERVER:-} == pulse ]]; then
  source "$here/../audio/private_pulse.sh"
  start_private_pulse "$work" || exit 1
  drivers=pulse
fi

# "nanoseconds timeslices" of every thread of the process, and of its main thread alone.
# The sound server, when there is one, counts with the tool: what the tool asks of it is its cost too.
all_threads() {
  local pid
  for pid in "$tool" ${pulse_pid:-}; do cat /proc/"$pid"/task/*/schedstat; done | awk '{ ns += $1; n += $3 } END { print ns, n }'
}
main_thread() { awk '{ print $1, $3 }' "/proc/$tool/task/$tool/schedstat"; }

# Measures SECONDS now; prints "cpu% wakeups/s main-wakeups/s" for the record.
measure() {
  local all_before main_before all_after main_after
  all_before=$(all_threads); main_before=$(main_thread)
  if [[ ${1:-} == floors ]]; then
    "$work/wakeup_floor" "$seconds" > "$work/floor" & local floor=$!
    "$work/wakeup_floor" "$seconds" 128 > "$work/floor-128" & local floor128=$!
  fi
  sleep "$seconds"
  all_after=$(all_threads); main_after=$(main_thread)
  [[ ${1:-} == floors ]] && wait $floor $floor128
  awk -v a="$all_before" -v b="$all_after" -v m="$main_before" -v n="$main_after" -v s="$seconds" 'BEGIN {
    split(a, x, " "); split(b, y, " "); split(m, p, " "); split(n, q, " ")
    printf "%.4f %.2f %.2f\n", (y[1] - x[1]) / 1e9 / s * 100, (y[2] - x[2]) / s, (q[2] - p[2]) / s }'
}

# One session of a build: the three states, a line each into results.<index>.
session() {
  local index=$1 bin=$2 home=$work/home-$1
  mkdir -p "$home"
  cp "$bin/samples/demo_track.sab" "$home/"
  export HOME=$home APPDATA=$home/appdata ALSOFT_DRIVERS=$drivers
  "$bin/morvane-radio-tuner" > "$home/out" 2>&1 & tool=$!
  local window=
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name 'Morvane Radio Tuner' 2> /dev/null | head -n1 || true)
    [[ -n "$window" ]] && break
    sleep 0.1
  done
  sleep 10 # the splash (about four seconds), then two for the window to settle, and a margin
  { printf 'no file '; measure "$([[ $index == 0 ]] && echo floors)"; } > "$work/results.$index"
  # The focus to another window and back; the shade fades out and back in.
  xmessage -geometry +600+600 'another window' 2> /dev/null & local other=$!
  sleep 1
  xdotool windowfocus --sync "$(xdotool search --name xmessage | head -n1)"
  sleep 2
  xdotool windowfocus --sync "$window"
  sleep "$settle_focus"
  { printf 'focus change '; measure; } >> "$work/results.$index"
  kill $other; wait $other 2> /dev/null || true
  # A container handed over by a second start, played, paused.
  "$bin/morvane-radio-tuner" "$home/demo_track.sab" > /dev/null 2>&1
  sleep 8 # the import's command lines
  xdotool windowfocus --sync "$window" key space
  sleep 2
  xdotool key space
  sleep 6
  { printf 'file paused '; measure; } >> "$work/results.$index"
  kill $tool; wait $tool || true
  tool=
}

for i in "${!bins[@]}"; do
  session "$i" "${bins[$i]}"
done

echo "A still window over $seconds s, whole process (every thread):"
for state in "no file" "focus change" "file paused"; do
  for i in "${!bins[@]}"; do
    grep "^$state " "$work/results.$i" | sed "s/^$state //" | awk -v what="$state" -v who="${labels[$i]}" '{
      printf "  %-13s %-10s %7.3f%% of one core, %7.2f wake-ups a second (main thread %.2f)\n", what, who, $1, $2, $3 }'
  done
  if [[ ${#bins[@]} == 2 ]]; then
    paste -d' ' <(grep "^$state " "$work/results.0" | sed "s/^$state //") \
                <(grep "^$state " "$work/results.1" | sed "s/^$state //") | awk '{
      printf "  %-24s CPU %.4f times the baseline, wake-ups %.4f times\n", "ratio", ($4 > 0 ? $1 / $4 : 0), ($5 > 0 ? $2 / $5 : 0) }'
  fi
done
report_floor() {
  awk -v ns="$2" -v s="$seconds" -v what="$1" 'BEGIN {
    printf "  %s: %.3f%% of one core\n", what, ns / 1e9 / s * 100 }'
}
echo "Measured beside the first session's no-file stretch:"
report_floor "the floor (60 bare wake-ups a second)" "$(cat "$work/floor")"
report_floor "60 wake-ups a second, each reading 128 KB" "$(cat "$work/floor-128")"
