#!/usr/bin/env bash
# Run by private_display.sh: the tool is started with the demo container, which it imports; a click on
# ▷ plays the preview into OpenAL's wave writer, a second click pauses it, and a tap on × ends the tool.
# The capture must hold about as many seconds of sound as the preview played, before the pause.
# play_capture.sh CONTAINER OUTPUT PROGRAM...: PROGRAM is the executable, or a launcher and the Windows
# executable. Exit 77 (skipped) when something needed is missing.
set -euo pipefail

container=${1:?usage: play_capture.sh CONTAINER OUTPUT PROGRAM...}
out=$2
shift 2
skip() {
    echo "SKIP: $*"
    exit 77
}
[[ -f "${*: -1}" ]] || skip "${*: -1} has not been built"
for tool in xdotool xwininfo ffmpeg; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
source "$(dirname "$0")/tool_program.sh"

work=$(mktemp -d)
tool_pid=""
fail() {
    echo "FAIL: $*"
    tail -n 5 "$save_area/runtime.log" "$save_area/shell.log" 2>/dev/null || true
    exit 1
}
cleanup() {
    set +e
    if [[ -n "$tool_pid" ]] && kill "$tool_pid" 2>/dev/null; then
        sleep 2
        kill -9 "$tool_pid" 2>/dev/null
        wait "$tool_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

export APPDATA="$work/appdata" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$APPDATA" "$HOME" "$work/music"
tool_program "$@"
cp "$container" "$work/music/"
capture=$work/capture.wav
printf '[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\nfrequency = 44100\n[wave]\nfile = %s\n' \
    "$(native "$capture")" >"$work/alsoft.conf"
export ALSOFT_CONF
ALSOFT_CONF=$(native "$work/alsoft.conf")
export ALSOFT_DRIVERS=wave

"${program[@]}" "$(native "$work/music/$(basename "$container")")" >"$work/tool.log" 2>&1 &
tool_pid=$!
window=""
for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --pid "$tool_pid" 2>/dev/null | head -n1 || true)
    [[ -n "$window" ]] && break
    kill -0 "$tool_pid" 2>/dev/null || fail "the tool exited: $(cat "$work/tool.log")"
    sleep 0.1
done
[[ -n "$window" ]] || fail "no window appeared"
geometry=$(xwininfo -id "$window")
left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
click_at() { xdotool mousemove "$((left + $1))" "$((top + $2))" click 1; }

# The container given at start is imported once the splash is over; the import ends by asking
# whether the container has a backup.
preview=$save_area/lib/stream.ogg
for _ in $(seq 1200); do
    [[ -s "$preview" ]] && grep -qF 'orig.temp' "$save_area/shell.log" 2>/dev/null && break
    sleep 0.1
done
[[ -s "$preview" ]] || fail "the container was not imported"
sleep 1
click_at 32 80 # ▷
sleep 3
click_at 32 80 # ||
sleep 3
kill -0 "$tool_pid" 2>/dev/null || fail "the tool exited while playing: $(cat "$work/tool.log")"
click_at 360 10 # ×
for _ in $(seq 100); do
    kill -0 "$tool_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$tool_pid" 2>/dev/null && fail "a tap on × did not end the program"
wait "$tool_pid" && status=0 || status=$?
tool_pid=""
((status < 128)) || fail "the tool died (status $status) after ×"
[[ -s "$capture" ]] || fail "nothing was written to the wave file"
cp "$capture" "$out/play_capture.wav"

# Sound is what rises above -50 dB; the preview played for about three seconds.
silences=$(ffmpeg -nostdin -v info -i "$capture" -af silencedetect=n=-50dB:d=0.2 -f null - 2>&1 |
    awk '/silence_duration/ { total += $NF } END { printf "%.2f", total }')
length=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$capture")
sound=$(awk -v l="$length" -v s="$silences" 'BEGIN { printf "%.2f", l - s }')
peak=$(ffmpeg -nostdin -v info -i "$capture" -af volumedetect -f null - 2>&1 | awk '/max_volume/ { print $5 }')
echo "capture $out/play_capture.wav: $length s, $sound s of sound, peak $peak dB"
awk -v s="$sound" 'BEGIN { exit !(s >= 2.0 && s <= 4.5) }' || fail "$sound s of sound, not about 3"
awk -v p="$peak" 'BEGIN { exit !(p > -30) }' || fail "the sound peaks at $peak dB"
echo "PASS"
