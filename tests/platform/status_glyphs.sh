#!/usr/bin/env bash
# Run by private_display.sh on a display of its own: the real window imports containers whose names
# hold characters the tool's own font lacks, and its status line must show them. Each name's status
# line is photographed beside that of the same name with those characters left out (what a font
# without them draws); the full name must put clearly more ink on the line. Names in other scripts are
# also set by pango-view, a layout tool of the system's own, in the same size: the status line must be
# about as wide, and its ink must fall column by column as in that layout (right-to-left names: more
# like it than like the same letters set left to right). A name in a script no font has must show a
# box. status_glyphs.sh OUTPUT DEMO PROGRAM...: PROGRAM is the executable, or a launcher and the
# Windows executable, whose fonts are then those Wine finds. Exit 77 (skipped) when something needed
# is missing.
set -euo pipefail

out=${1:?usage: status_glyphs.sh OUTPUT DEMO PROGRAM...}
demo=${2:?usage: status_glyphs.sh OUTPUT DEMO PROGRAM...}
shift 2
skip() {
    echo "SKIP: $*"
    exit 77
}
[[ -f "${*: -1}" ]] || skip "${*: -1} has not been built"
for tool in xdotool xwininfo import convert compare pango-view; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
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
export APPDATA="$work/appdata" MORVANE_FRAME_LOG=1
# Wine hands the program its arguments from this locale.
export LC_ALL=C.UTF-8
source "$(dirname "$0")/tool_program.sh"
tool_program "$@"

# The status line (256 x 32 at 64, 64 in the window) once the tool has imported `name`, saved as `png`,
# and the whole window beside it.
photograph() {
    local name=$1 png=$2 window="" geometry left top
    cp "$demo" "$work/$name"
    rm -rf "$APPDATA" "$save_area"
    mkdir -p "$APPDATA"
    "${program[@]}" "$(native "$work/$name")" >"$work/tool.log" 2>&1 &
    tool_pid=$!
    for _ in $(seq 600); do
        grep -qF "$name.orig" "$save_area/shell.log" 2>/dev/null && break
        kill -0 "$tool_pid" 2>/dev/null || { cat "$work/tool.log"; echo "FAIL: the tool exited"; exit 1; }
        sleep 0.1
    done
    # The import is on its last line; once the loop sleeps, it is over and the status line faded in.
    settle "$save_area/runtime.log"
    window=$(xdotool search --onlyvisible --pid "$tool_pid" 2>/dev/null || true)
    [[ -n "$window" ]] || { echo "FAIL: no window for $name"; exit 1; }
    if [[ "$window" == *$'\n'* ]]; then
        echo "FAIL: with $name imported the tool shows more than its window:"
        for window in $window; do xdotool getwindowname "$window"; done
        exit 1
    fi
    geometry=$(xwininfo -id "$window")
    left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
    top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop "256x32+$((left + 64))+$((top + 64))" +repage "$png"
    convert "$work/screen.png" -crop "384x192+$left+$top" +repage "${png%.png}_window.png"
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
# The text's ink alone, trimmed to its box.
trimmed() {
    convert "$1" -colorspace gray -threshold 40% -trim +repage "$2"
}
width_of() {
    identify -format '%w' "$1"
}
# How alike two trimmed texts' ink is, column by column (normalised cross-correlation, up to 1), with
# both brought to a third of `width` columns: letters' places count, not single strokes.
alike() {
    local columns=$(($3 / 3))
    convert "$1" -scale "${columns}x1!" "$work/a.png"
    convert "$2" -scale "${columns}x1!" "$work/b.png"
    compare -metric NCC "$work/a.png" "$work/b.png" null: 2>&1 | cut -d' ' -f1 || true
}
# pango-view's layout of `text` in the tool's face and size, trimmed. With the fonts the tool draws
# from: Pango would take a colour emoji font where one is installed, the tool the monochrome one.
cat >"$work/fonts.conf" <<'EOF'
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <selectfont><rejectfont><pattern><patelt name="color"><bool>true</bool></patelt></pattern></rejectfont></selectfont>
</fontconfig>
EOF
reference() {
    FONTCONFIG_FILE="$work/fonts.conf" pango-view --font="Open Sans 9" --dpi=96 --margin=8 --background=black \
        --foreground=white -q -o "$work/reference_full.png" --text="$1"
    trimmed "$work/reference_full.png" "$2"
}

# `name`'s status line against pango-view's layout of it; right-to-left names also against the same
# characters forced left to right (U+202D), which must fit worse.
compare_layout() {
    local name=$1 stem=$2 rtl=${3:-} ours=$work/ours.png expected=$work/expected.png ours_width width score
    trimmed "$out/status_glyphs_$stem.png" "$ours"
    reference "$name" "$expected"
    ours_width=$(width_of "$ours")
    width=$(width_of "$expected")
    score=$(alike "$ours" "$expected" "$width")
    echo "$name: $ours_width columns of ink, pango-view $width; alike $score"
    if ((ours_width * 4 < width * 3 || ours_width * 4 > width * 5)); then
        echo "FAIL: $name is $ours_width wide where pango-view sets it $width wide"
        failures=$((failures + 1))
    fi
    # Not closer: between two letters of another script Pango takes a space or a dot from their font,
    # the tool from its own.
    if awk -v s="$score" 'BEGIN { exit !(s < 0.6) }'; then
        echo "FAIL: $name's ink does not fall as in pango-view's layout"
        failures=$((failures + 1))
    fi
    if [[ -n "$rtl" ]]; then
        local backwards
        reference $'\u202D'"$name" "$work/backwards.png"
        backwards=$(alike "$ours" "$work/backwards.png" "$width")
        echo "$name: alike $backwards when set left to right"
        if awk -v s="$score" -v b="$backwards" 'BEGIN { exit !(s <= b + 0.2) }'; then
            echo "FAIL: $name is drawn left to right"
            failures=$((failures + 1))
        fi
    fi
}

check "ラジオ曲01.sab" "01.sab" japanese 4
compare_layout "ラジオ曲01.sab" japanese
check "Café Müller.sab" "Caf Mller.sab" german 2
compare_layout "Café Müller.sab" german
# The same name with its accents as combining marks.
photograph $'Cafe\u0301 Mu\u0308ller.sab' "$out/status_glyphs_marks.png"
compare_layout $'Cafe\u0301 Mu\u0308ller.sab' marks
check "שיר רדיו.sab" " .sab" hebrew 7
compare_layout "שיר רדיו.sab" hebrew rtl
check "أغنية.sab" ".sab" arabic 5
compare_layout "أغنية.sab" arabic rtl
check "라디오 노래.sab" " .sab" korean 5
compare_layout "라디오 노래.sab" korean
check "เพลงวิทยุ.sab" ".sab" thai 5
compare_layout "เพลงวิทยุ.sab" thai
check "रेडियो गीत.sab" " .sab" devanagari 5
compare_layout "रेडियो गीत.sab" devanagari
check "🚗📻 drive.sab" " drive.sab" emoji 2
compare_layout "🚗📻 drive.sab" emoji
# A character of the last private-use plane, which no installed font has: a box, not nothing.
check $'\U0010FFFD.sab' ".sab" box 1
((failures == 0)) && echo "PASS"
exit $((failures > 0))
