#!/usr/bin/env bash
# Run by private_display.sh on a display of its own: the real window imports containers whose names
# hold characters the tool's own font lacks, and its status line must show them. Each name's status
# line is photographed beside that of the same name with those characters left out (what a font
# without them draws); the full name must put clearly more ink on the line. Exit 77 (skipped) when
# something needed is missing.
set -euo pipefail

exe=${1:?usage: status_glyphs.sh <executable> [output folder]}
out=${2:-.}
skip() {
    echo "SKIP: $*"
    exit 77
}
[[ -x "$exe" ]] || skip "$exe has not been built"
for tool in xdotool xwininfo import convert; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
demo=$(dirname "$exe")/samples/demo_track.sab
[[ -f "$demo" ]] || skip "$demo has not been built"

work=$(mktemp -d)
tool_pid=""
stop_tool() {
    [[ -n "$tool_pid" ]] || return 0
    kill "$tool_pid" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$tool_pid" 2>/dev/null || break
        sleep 0.2
    done
    kill -9 "$tool_pid" 2>/dev/null || true
    wait "$tool_pid" 2>/dev/null || true
    tool_pid=""
}
trap 'stop_tool; rm -rf "$work"' EXIT
export APPDATA="$work/appdata"

# The status line (256 x 32 at 64, 64 in the window) once the tool has imported `name`, saved as `png`.
photograph() {
    local name=$1 png=$2 window="" geometry left top
    cp "$demo" "$work/$name"
    rm -rf "$APPDATA"
    mkdir -p "$APPDATA"
    "$exe" "$work/$name" >"$work/tool.log" 2>&1 &
    tool_pid=$!
    for _ in $(seq 600); do
        grep -qF "$name.orig" "$APPDATA/Morvane_Radio_Tuner/shell.log" 2>/dev/null && break
        kill -0 "$tool_pid" 2>/dev/null || { cat "$work/tool.log"; echo "FAIL: the tool exited"; exit 1; }
        sleep 0.1
    done
    sleep 1 # the status line fades in
    window=$(xdotool search --onlyvisible --pid "$tool_pid" 2>/dev/null | head -n1 || true)
    [[ -n "$window" ]] || { echo "FAIL: no window for $name"; exit 1; }
    geometry=$(xwininfo -id "$window")
    left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
    top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop "256x32+$((left + 64))+$((top + 64))" +repage "$png"
    stop_tool
}

# Pixels of the line bright enough to be text (the bar and the panel are dark).
ink() {
    convert "$1" -colorspace gray -threshold 40% -format '%[fx:mean*w*h]' info: | cut -d. -f1
}

failures=0
check() {
    local name=$1 without=$2 stem=$3 left_out=$4
    photograph "$name" "$out/status_glyphs_$stem.png"
    photograph "$without" "$out/status_glyphs_${stem}_missing.png"
    local full missing
    full=$(ink "$out/status_glyphs_$stem.png")
    missing=$(ink "$out/status_glyphs_${stem}_missing.png")
    echo "$name: $full text pixels; $without: $missing ($out/status_glyphs_$stem.png)"
    # Each character left out is worth a dozen pixels and more at this size.
    if ((full < missing + 12 * left_out)); then
        echo "FAIL: $name is drawn like $without"
        failures=$((failures + 1))
    fi
}
check "ラジオ曲01.sab" "01.sab" japanese 4
check "Café Müller.sab" "Caf Mller.sab" german 2
((failures == 0)) && echo "PASS"
exit $((failures > 0))
