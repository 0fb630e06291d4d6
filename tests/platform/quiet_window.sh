#!/usr/bin/env bash
# Run by private_display.sh on a display of its own: a still window sleeps, and wakes for input at once.
# The tool starts with its frame log on (MORVANE_FRAME_LOG=1: every sleep and wake-up in runtime.log).
# Once the splash is over and the window has settled, the frame loop's thread is counted (the
# scheduler's times it ran) over a still stretch: at most one wake-up a second. Then, with the pointer
# resting on the Play button (no file: a press only lights it), a long still stretch and a press: the
# frame after the wake-up must show the pressed button, within one frame period (1/60 s) of the wake.
# Last, a track playing with nothing else moving: the window sleeps as a still one does.
# quiet_window.sh OUTPUT PROGRAM. Exit 77 (skipped) when something needed is missing.
set -euo pipefail

out=${1:?usage: quiet_window.sh OUTPUT PROGRAM}
program=${2:?usage: quiet_window.sh OUTPUT PROGRAM}
still=${QUIET_WINDOW_SECONDS:-10}
skip() {
    echo "SKIP: $*"
    exit 77
}
[[ -x "$program" ]] || skip "$program has not been built"
command -v xdotool >/dev/null || skip "xdotool is not installed"
[[ -r /proc/self/task/$$/schedstat ]] || skip "the scheduler's statistics are not readable"

work=$(mktemp -d)
tool_pid=""
cleanup() {
    set +e
    if [[ -n "$tool_pid" ]] && kill "$tool_pid" 2>/dev/null; then
        for _ in $(seq 50); do
            kill -0 "$tool_pid" 2>/dev/null || break
            sleep 0.2
        done
        kill -9 "$tool_pid" 2>/dev/null || true
        wait "$tool_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
export APPDATA="$work/appdata" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
export MORVANE_FRAME_LOG=1 ALSOFT_DRIVERS=null
mkdir -p "$APPDATA" "$HOME"
"$program" >"$work/tool.log" 2>&1 &
tool_pid=$!
log=$APPDATA/Morvane_Radio_Tuner/runtime.log
source "$(dirname "$0")/tool_program.sh"

window=""
for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --pid "$tool_pid" 2>/dev/null | head -n1 || true)
    [[ -n "$window" ]] && break
    kill -0 "$tool_pid" 2>/dev/null || { cat "$work/tool.log"; echo "FAIL: the tool exited"; exit 1; }
    sleep 0.1
done
[[ -n "$window" ]] || { cat "$work/tool.log"; echo "FAIL: no window appeared"; exit 1; }

# The frame loop's thread: how often it has been put on a CPU so far.
runs() { awk '{ print $3 }' "/proc/$tool_pid/task/$tool_pid/schedstat"; }
# The splash (about four seconds), then the window settles.
sleep 5
settle "$log"
first=$(runs)
sleep "$still"
woken=$(( $(runs) - first ))
echo "still for $still s: the frame loop ran $woken times"
if (( woken > still )); then
    echo "FAIL: more than one wake-up a second"
    exit 1
fi

# The pointer to Play; it lights the button, then the window settles again.
read -r left top < <(xdotool getwindowgeometry "$window" | awk '/Position/ { split($2, p, ","); print p[1], p[2] }')
xdotool mousemove "$((left + 32))" "$((top + 80))"
sleep 1
# A still stretch, then a press: sets `ms`, from the first wake-up to the end of the frame that showed
# the press. Fails when the press did not wake the window, it had not slept through, or no frame
# showed the press.
press_after_still() {
    local wakes_before answer
    settle "$log"
    sleep "$still"
    wakes_before=$(grep -c '^Frames wake' "$log" || true)
    xdotool mousedown 1
    sleep 1
    xdotool mouseup 1
    sleep 0.5
    # The wake-ups from the press on. A message that is no input (X sends some around a press) may wake
    # the window a moment before it: the press must then be shown by a frame that follows at once.
    grep '^Frames wake' "$log" | tail -n "+$((wakes_before + 1))" >"$work/wakes"
    answer=$(head -n1 "$work/wakes")
    echo "${answer:-no wake-up was logged}"
    [[ -n "$answer" ]] || { echo "FAIL: the press did not wake the window"; tail -n 20 "$log"; exit 1; }
    slept=$(sed -E 's/^Frames wake after ([0-9.]+) s.*/\1/' <<<"$answer")
    awk -v s="$slept" -v want="$still" 'BEGIN { exit !(s >= want) }' ||
        { echo "FAIL: the window had not slept through the still stretch"; exit 1; }
    ms=$(awk 'NR > 1 { sub(/^Frames wake after /, ""); waited += $1 * 1000 }
              / presented a new picture / { sub(/.* picture /, ""); print waited + $1; exit }' "$work/wakes")
    [[ -n "$ms" ]] || { echo "FAIL: no frame after the wake-up showed the press"; cat "$work/wakes"; exit 1; }
}
# A hiccup of the machine may hold one frame back: a second stretch and press then tell.
for attempt in 1 2; do
    press_after_still
    awk -v ms="$ms" 'BEGIN { exit !(ms <= 1000 / 60) }' && break
    echo "the press was shown $ms ms after the wake-up, more than a frame period"
    ((attempt < 2)) || { echo "FAIL: twice a press was shown more than a frame period after the wake-up"; exit 1; }
done

# The demo container (25 s) handed over by a second start and imported; Play clicked (the pointer rests
# on it), which makes its stream.
"$program" "$(dirname "$program")/samples/demo_track.sab" >/dev/null 2>&1
for _ in $(seq 300); do [[ -s "$APPDATA/Morvane_Radio_Tuner/lib/stream.ogg" ]] && break; sleep 0.1; done
settle "$log"
# A click that falls into the end of the import is dropped, as every click during one is.
for _ in $(seq 5); do
    xdotool click 1
    played_at=$SECONDS
    for _ in $(seq 20); do grep -q '^create stream' "$log" && break 2; sleep 0.1; done
done
grep -q '^create stream' "$log" || { echo "FAIL: Play made no stream"; tail -n 20 "$log"; exit 1; }
settle "$log"
first=$(runs)
sleep 5
playing=$(( $(runs) - first ))
echo "playing for 5 s: the frame loop ran $playing times"
((SECONDS - played_at < 25)) || { echo "FAIL: the track ended before the count did"; exit 1; }
grep -q '^Frames wake.*the end of a stream\|^destroy stream' "$log" && { echo "FAIL: the track was not playing"; exit 1; }
((playing <= 5)) || { echo "FAIL: a playing window woke more than once a second"; exit 1; }
cp "$log" "$out/quiet_window.log"
echo "PASS: a still window woke $woken times in $still s; a press after a sleep of $slept s was shown $ms ms after the wake-up; playing, $playing times in 5 s"
