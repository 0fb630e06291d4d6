#!/usr/bin/env bash
# Sourced by the real-window tests, which run under private_display.sh: a window manager (openbox), a
# throw-away home for the tool, and the waits and lookups they share. Expects `exe` set, and `launcher`
# (an array) when a launcher runs it (wine-run.sh PREFIX for the Windows build); leaves `program`,
# `windows`, `work`, `lib`, `samples`, `screen_w` and `screen_h`, and after start_tool `tool_pid`,
# `window`, `left`, `top`, `width` and `height`. Exit 77 (skipped) when something needed is missing.
skip() {
    echo "SKIP: $*"
    exit 77
}
fail() {
    echo "FAIL: $*"
    tail -n 5 "${APPDATA:-/nonexistent}/Morvane_Radio_Tuner/runtime.log" 2>/dev/null
    tail -n 5 "${work:-/nonexistent}/openbox.log" 2>/dev/null
    exit 1
}
[[ -f "$exe" ]] || skip "$exe has not been built"
for tool in openbox xdotool xwininfo xprop ${window_test_needs:-}; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done

work=$(mktemp -d)
tool_pid=""
wm_pid=""
stop() {
    local pid=$1
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}
cleanup() {
    set +e
    [[ -n "$tool_pid" ]] && stop "$tool_pid"
    [[ -n "$wm_pid" ]] && stop "$wm_pid"
    rm -rf "$work"
}
trap cleanup EXIT

# The tool's files and what it remembers go to a throw-away home.
export APPDATA="$work/appdata" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" ALSOFT_DRIVERS=null
unset GDK_SCALE
mkdir -p "$APPDATA" "$HOME" "$work/music"
# shellcheck source=tool_program.sh
source "$(dirname "${BASH_SOURCE[0]}")/tool_program.sh"
tool_program ${launcher[@]+"${launcher[@]}"} "$exe"
# As the system names the folder a process works in (Wine's drive letters are links).
lib=$(realpath -m "$save_area/lib")
shell_log=$save_area/shell.log
# The demo containers: beside a Linux build's program, from the Linux build for the Windows one.
samples=${MORVANE_SAMPLES:-$(dirname "$exe")/samples}

start_wm() {
    openbox >>"$work/openbox.log" 2>&1 &
    wm_pid=$!
}
start_wm
# Waits up to a minute for a condition.
wait_for() {
    for _ in $(seq 600); do "$@" && return 0; sleep 0.1; done
    fail "timed out waiting for: $*"
}
# A window manager that did not survive its start (seen once on a loaded machine) is started again.
wm_running() {
    kill -0 "$wm_pid" 2>/dev/null || start_wm
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}
wait_for wm_running
read -r screen_w screen_h < <(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')

# Starts the tool with its arguments; sets window, left, top, width and height.
start_tool() {
    "${program[@]}" "$@" >"$work/tool.log" 2>&1 &
    tool_pid=$!
    window=""
    for _ in $(seq 600); do
        window=$(xdotool search --onlyvisible --pid "$tool_pid" 2>/dev/null | head -n1 || true)
        [[ -n "$window" ]] && break
        kill -0 "$tool_pid" 2>/dev/null || { cat "$work/tool.log"; fail "the tool exited"; }
        sleep 0.1
    done
    [[ -n "$window" ]] || fail "no window appeared"
    read -r left top width height < <(geometry "$window")
    # The splash is over once the helpers are unpacked and the marker beside the program is gone.
    wait_for test -f "$lib/tuner.head"
    wait_for test ! -e "$(dirname "$exe")/temp.dat"
    sleep 3
}
# "left top width height" of a window's client area on the screen.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}
# The first window of the tool named exactly $1 other than the main one, or nothing.
other_window() {
    xdotool search --onlyvisible --pid "$tool_pid" 2>/dev/null | while read -r w; do
        if [[ "$w" != "$window" && "$(xdotool getwindowname "$w")" == "$1"* ]]; then echo "$w"; fi
    done | head -n1 || true
}
# Whether window $1 has the keyboard; whether window $1 is closed or hidden.
active_is() { [[ "$(xdotool getactivewindow 2>/dev/null)" == "$1" ]]; }
gone() { ! xwininfo -id "$1" >/dev/null 2>&1 || xwininfo -id "$1" | grep -q IsUnMapped; }
