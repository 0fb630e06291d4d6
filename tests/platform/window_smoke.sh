#!/usr/bin/env bash
# Run by private_display.sh on a display of its own: starts the tool, finds its borderless 384 x 192
# window, takes a screenshot and checks that the window shows a picture; then that a click made while a
# message box is open is dropped, that Import's dialog opens and cancels with nothing imported, and that
# a tap on × ends the program. window_smoke.sh OUTPUT PROGRAM...: PROGRAM is the executable, or a
# launcher and the Windows executable. Exit 77 (skipped) when something needed is missing.
set -euo pipefail

out=${1:?usage: window_smoke.sh OUTPUT PROGRAM...}
shift
skip() {
    echo "SKIP: $*"
    exit 77
}
[[ -f "${*: -1}" ]] || skip "${*: -1} has not been built"
for tool in xdotool xwininfo xprop import convert; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done

work=$(mktemp -d)
tool_pid=""
cleanup() {
    # Nothing here may stop the cleanup half-way.
    set +e
    # The tool ends on SIGTERM; a slow (sanitizer) build gets ten seconds before it is killed.
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

# The tool's files and what it remembers go to a throw-away area, never to the user's own.
export APPDATA="$work/appdata" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$APPDATA" "$HOME"
source "$(dirname "$0")/tool_program.sh"
tool_program "$@"
"${program[@]}" >"$work/tool.log" 2>&1 &
tool_pid=$!

window=""
for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --pid "$tool_pid" 2>/dev/null | head -n1 || true)
    [[ -n "$window" ]] && break
    kill -0 "$tool_pid" 2>/dev/null || { cat "$work/tool.log"; echo "FAIL: the tool exited"; exit 1; }
    sleep 0.1
done
[[ -n "$window" ]] || { cat "$work/tool.log"; echo "FAIL: no window appeared"; exit 1; }

geometry=$(xwininfo -id "$window")
width=$(awk '/Width:/ {print $2}' <<<"$geometry")
height=$(awk '/Height:/ {print $2}' <<<"$geometry")
left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
echo "window $window: ${width}x${height} at $left,$top"
[[ "$width" == 384 && "$height" == 192 ]] || { echo "FAIL: window is ${width}x${height}, not 384x192"; exit 1; }

# Borderless: SDL asks the window manager for no decorations (_MOTIF_WM_HINTS flag 2, decorations 0);
# with no window manager running that atom does not exist and it marks the window transient for the root.
borderless=no
hints=$(xprop -id "$window" _MOTIF_WM_HINTS)
if [[ "$hints" == *=* ]]; then
    read -r flags _ decorations _ < <(sed 's/.*= //; s/,//g' <<<"$hints")
    (( (flags & 2) != 0 && decorations == 0 )) && borderless=yes
else
    root=$(xwininfo -root | awk '/Window id:/ {print $4}')
    transient=$(xprop -id "$window" WM_TRANSIENT_FOR | awk '/window id/ {print $NF}')
    [[ -n "$transient" && $((transient)) == $((root)) ]] && borderless=yes
fi
echo "borderless: $borderless"
[[ "$borderless" == yes ]] || { echo "FAIL: the window is not borderless"; exit 1; }

sleep 1 # a few dozen frames
import -window root "$out/window_smoke.png"
# A drawn panel is not one flat colour.
spread=$(convert "$out/window_smoke.png" -crop "384x192+$left+$top" +repage -format '%[fx:standard_deviation]' info:)
echo "screenshot $out/window_smoke.png, spread of the window's pixels $spread"
awk -v s="$spread" 'BEGIN { exit !(s > 0.01) }' || { echo "FAIL: the window shows no picture"; exit 1; }
kill -0 "$tool_pid" 2>/dev/null || { cat "$work/tool.log"; echo "FAIL: the tool exited"; exit 1; }

# Clicks are xdotool's: a press and a release sent back to back, inside one frame.
click_at() { xdotool mousemove "$((left + $1))" "$((top + $2))" click 1; }
# The display is ours alone; GTK's boxes carry no process id.
visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | sort -u || true; }
# The buttons come alive once the splash has unpacked the helpers.
for _ in $(seq 300); do
    grep -q '^> del ".*temp.dat"' "$save_area/shell.log" 2>/dev/null && break
    sleep 0.1
done
# A click on Import while About's box is open, then the box dismissed with the keyboard: the click
# must not be replayed after the box (no file dialog may open).
before=$(visible_windows)
new_windows() { comm -13 <(echo "$before") <(visible_windows); }
# The splash still shows "Cleaning up" for up to two seconds and the buttons then fade in: About is
# clicked until its box opens.
box=""
for _ in $(seq 30); do
    click_at 352 80
    for _ in $(seq 20); do
        box=$(new_windows | head -n1 || true)
        [[ -n "$box" ]] && break 2
        sleep 0.1
    done
done
[[ -n "$box" ]] || { cat "$work/tool.log"; echo "FAIL: About's box did not open"; exit 1; }
sleep 1 # drawn
click_at 96 144
sleep 0.5
import -window root "$out/window_smoke_box.png"
# Return goes to the box until it closes (a busy machine may miss the first).
for _ in $(seq 10); do
    new_windows | grep -qx "$box" || break
    xdotool windowfocus --sync "$box" key Return 2>/dev/null || true
    sleep 1
done
sleep 1
others=$(new_windows)
[[ -z "$others" ]] || { echo "FAIL: a window is open after the box closed: $others"; exit 1; }
echo "the click made while the box was open was dropped"
# Import's dialog opens, and Escape cancels it: no box follows, nothing is imported.
click_at 96 144
dialog=""
for _ in $(seq 300); do
    dialog=$(new_windows | head -n1 || true)
    [[ -n "$dialog" ]] && break
    sleep 0.1
done
[[ -n "$dialog" ]] || { cat "$work/tool.log"; echo "FAIL: Import's dialog did not open"; exit 1; }
sleep 1 # drawn
import -window root "$out/window_smoke_import.png"
if [[ -n "$windows" ]]; then
    # Centred over the window, as on Linux (Windows' own place for it is the window's top-left corner),
    # give or take the frame Wine draws around it.
    read -r dx dy dw dh < <(xwininfo -id "$dialog" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
    off_x=$(((dx + dw / 2) - (left + width / 2))) off_y=$(((dy + dh / 2) - (top + height / 2)))
    ((off_x * off_x <= 16 * 16 && off_y * off_y <= 30 * 30)) ||
        { echo "FAIL: Import's dialog (${dw}x${dh} at $dx,$dy) is not centred over the window at $left,$top"; exit 1; }
fi
# Escape goes to the dialog, by its title, until it closes (a busy machine may miss the first), never
# to the main window, where it would close the tool, nor to a box that should not be there.
for _ in $(seq 10); do
    open_dialog=$(comm -12 <(new_windows) <(xdotool search --onlyvisible --name '^Choose an audio file' | sort -u) |
        head -n1 || true)
    [[ -z "$open_dialog" ]] && break
    xdotool windowfocus --sync "$open_dialog" key Escape 2>/dev/null || true
    sleep 1
done
others=$(new_windows)
[[ -z "$others" ]] || { echo "FAIL: a window is open after Import's dialog was cancelled: $others"; exit 1; }
[[ ! -e "$save_area/lib/stream.ogg" ]] || { echo "FAIL: a cancelled Import imported something"; exit 1; }
echo "Import's dialog opened and was cancelled"
# A tap on × ends the program. The window may still be leaving the dialog's modal wait, where input
# is dropped, as the About box showed: × is tapped until the program ends, at most five times.
for _ in $(seq 5); do
    click_at 360 10
    for _ in $(seq 20); do
        kill -0 "$tool_pid" 2>/dev/null || break 2
        sleep 0.1
    done
done
if kill -0 "$tool_pid" 2>/dev/null; then echo "FAIL: a tap on × did not end the program"; exit 1; fi
wait "$tool_pid" && status=0 || status=$?
tool_pid=""
# A sanitizer build reports leaks inside the desktop libraries at exit, so only a crash counts.
(( status < 128 )) || { cat "$work/tool.log"; echo "FAIL: the tool died (status $status) after ×"; exit 1; }
echo "a tap on × ended the program"
echo "PASS"
