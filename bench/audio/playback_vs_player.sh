#!/usr/bin/env bash
# What playing a preview costs, against a plain player of the same file on the same sound server: the
# window (under Xvfb) plays the Ogg preview of a four-minute container through OpenAL on a PulseAudio
# of the benchmark's own; then `ffplay -nodisp` plays that preview file. Each is measured over SECONDS
# of playing, from the scheduler's counts of every thread of the process (and of the sound server
# beside it), and the ratio printed.
# Usage: bench/audio/playback_vs_player.sh [build dir] [seconds]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
seconds=${2:-30}
here=$(cd "$(dirname "$0")" && pwd)
bin=$build/bin
for tool in ffplay xdotool Xvfb pactl; do
  command -v "$tool" > /dev/null || { echo "$tool is not installed"; exit 1; }
done
work=$(mktemp -d)
source "$here/../../tests/platform/private_display.sh"
source "$here/private_pulse.sh"
source "$here/../hca/music_like_wav.sh"
player=
trap '[[ -n "$player" ]] && kill $player 2> /dev/null; kill ${pulse_pid:-} ${xvfb_pid:-} 2> /dev/null; wait; rm -rf "$work"' EXIT
start_private_display "$work"
start_private_pulse "$work"

# A four-minute container, as the game keeps its tracks.
mkdir -p "$work/helpers"
"$bin/morvane-cmd" "expand \"$bin/lib.win\" -f:* \"$work/helpers\"" > /dev/null
music_like_wav 4 "$work/track.wav"
"$work/helpers/vgaudiocli.exe" -i "$work/track.wav" "$work/track.hca" --out-format hca --hcaquality high > /dev/null
cat "$work/helpers/tuner.head" "$work/track.hca" > "$work/track.sab"

# CPU nanoseconds of every thread of process $1 so far.
cpu_of() { cat /proc/"$1"/task/*/schedstat 2> /dev/null | awk '{ ns += $1 } END { print ns + 0 }'; }
# "process% server%" of one core over SECONDS of process $1 playing.
measure() {
  local p0 s0 p1 s1
  p0=$(cpu_of "$1"); s0=$(cpu_of "$pulse_pid")
  sleep "$seconds"
  p1=$(cpu_of "$1"); s1=$(cpu_of "$pulse_pid")
  kill -0 "$1" 2> /dev/null || { echo "the player ended before the measurement did"; exit 1; }
  awk -v p=$((p1 - p0)) -v s=$((s1 - s0)) -v t="$seconds" 'BEGIN { printf "%.3f %.3f\n", p / 1e7 / t, s / 1e7 / t }'
}

# The window: started, the container handed over by a second start, imported, played.
export HOME=$work/home APPDATA=$work/home/appdata ALSOFT_DRIVERS=pulse
mkdir -p "$HOME"
"$bin/morvane-radio-tuner" > "$work/tool.log" 2>&1 & player=$!
window=
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name 'Morvane Radio Tuner' 2> /dev/null | head -n1 || true)
  [[ -n "$window" ]] && break
  sleep 0.1
done
[[ -n "$window" ]] || { cat "$work/tool.log"; echo "no window"; exit 1; }
sleep 6 # the splash
"$bin/morvane-radio-tuner" "$work/track.sab" > /dev/null 2>&1
preview=$APPDATA/Morvane_Radio_Tuner/lib/stream.ogg
for _ in $(seq 600); do [[ -s "$preview" ]] && break; sleep 0.1; done
sleep 5 # the rest of the import's command lines
cp "$preview" "$work/preview.ogg"
xdotool windowfocus --sync "$window" key space
sleep 3
read -r tool_cpu tool_server < <(measure "$player")
kill "$player"; wait "$player" || true

# The plain player, the same file, the same server.
SDL_AUDIODRIVER=pulseaudio ffplay -nodisp -autoexit -loglevel quiet "$work/preview.ogg" & player=$!
sleep 3
read -r ffplay_cpu ffplay_server < <(measure "$player")
kill "$player"; wait "$player" 2> /dev/null || true
player=

echo "Playing a four-minute preview for $seconds s (one core = 100%):"
printf '  the window   %6.3f%%, the sound server beside it %6.3f%%\n' "$tool_cpu" "$tool_server"
printf '  ffplay       %6.3f%%, the sound server beside it %6.3f%%\n' "$ffplay_cpu" "$ffplay_server"
awk -v a="$tool_cpu" -v b="$ffplay_cpu" -v c="$tool_server" -v d="$ffplay_server" 'BEGIN {
  printf "  ratio: the window %.2f times ffplay; with the server, %.2f times\n", a / b, (a + c) / (b + d) }'
