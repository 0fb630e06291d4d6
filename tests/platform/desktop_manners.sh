#!/usr/bin/env bash
# Run by private_display.sh, under a window manager (openbox): a second start hands its container to
# the running window, which imports it and comes back from the taskbar; the Import dialog and a
# message box belong to the window (transient for it, modal, above it, centred over it, inside the
# screen, no maximize); on a desktop scaled to 2x (GDK_SCALE or Xft.dpi) the window is 768 x 384,
# drawn by whole pixels, and a click lands where it is drawn. Screenshots at 1x and 2x go to the output folder. Exit 77 (skipped)
# when something needed is missing.
set -euo pipefail

exe=${1:?usage: desktop_manners.sh <executable> [output folder]}
out=${2:-.}
window_test_needs="import convert compare"
# shellcheck source=window_test_lib.sh
source "$(dirname "$0")/window_test_lib.sh"

# Fails unless dialog $1 belongs to the main window: transient for it, modal, stacked above it, without
# a maximize action, inside the screen and (where the screen leaves room) centred over the window.
belongs_to_window() {
    local dialog=$1 what=$2
    [[ $(($(xprop -id "$dialog" WM_TRANSIENT_FOR | awk '{print $NF}'))) == "$window" ]] ||
        fail "$what is not transient for the window: $(xprop -id "$dialog" WM_TRANSIENT_FOR)"
    xprop -id "$dialog" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL || fail "$what is not modal"
    ! xprop -id "$dialog" _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE || fail "$what can be maximized"
    local stacking
    stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep 0x)
    local main_at dialog_at
    main_at=$(grep -n -x "$(printf '0x%x' "$window")" <<<"$stacking" | cut -d: -f1)
    dialog_at=$(grep -n -x "$(printf '0x%x' "$dialog")" <<<"$stacking" | cut -d: -f1)
    ((dialog_at > main_at)) || fail "$what is below the window"
    read -r dx dy dw dh < <(geometry "$dialog")
    ((dx >= 0 && dy >= 0 && dx + dw <= screen_w && dy + dh <= screen_h)) ||
        fail "$what (${dw}x${dh} at $dx,$dy) leaves the ${screen_w}x${screen_h} screen"
    # Centred, give or take the title bar the window manager adds above it.
    local off_x=$(((dx + dw / 2) - (left + width / 2))) off_y=$(((dy + dh / 2) - (top + height / 2)))
    ((off_x * off_x <= 4 && off_y * off_y <= 30 * 30)) ||
        fail "$what (${dw}x${dh} at $dx,$dy) is not centred over the window at $left,$top"
    echo "$what: transient, modal, above, ${dw}x${dh} at $dx,$dy"
}

# --- 1x: the window, the hand-over, the dialogs.
start_tool
((width == 384 && height == 192)) || fail "the window is ${width}x${height}, not 384x192"
import -window root "$work/root.png"
convert "$work/root.png" -crop "384x192+$left+$top" +repage "$out/window-1x.png"

# A container opened from the file manager while the tool runs: the start ends at once with 0, the
# window imports the file and comes back from the taskbar.
cp "$(dirname "$exe")/samples/demo_track.sab" "$work/music/"
xdotool windowminimize "$window"
wait_for sh -c "xwininfo -id $window | grep -q IsUnMapped"
status=0
timeout 20 "$exe" "$work/music/demo_track.sab" >"$work/second.log" 2>&1 || status=$?
((status == 0)) || { cat "$work/second.log"; fail "the second start ended with $status"; }
wait_for grep -q "music/demo_track.sab" "$shell_log"
wait_for sh -c "xwininfo -id $window | grep -q IsViewable"
wait_for sh -c "[ \"\$(xdotool getactivewindow)\" = $window ]"
echo "hand-over: imported by the running window, which is back in front"

# Ctrl+O: the Import dialog. Keys pressed while the import's command lines still run are dropped, as
# clicks are, and GTK's first start may take seconds under a virtual display: asked again until it comes.
dialog=""
for _ in $(seq 12); do
    xdotool key ctrl+o
    for _ in $(seq 50); do
        dialog=$(other_window "Choose an audio file")
        [[ -n "$dialog" ]] && break 2
        sleep 0.1
    done
done
[[ -n "$dialog" ]] || fail "Ctrl+O opened no Import dialog"
belongs_to_window "$dialog" "the Import dialog"
# GTK's file chooser takes keys only once it is in front and has filled its view, which a loaded
# machine may delay: Escape is pressed again until the dialog is gone.
wait_for active_is "$dialog"
for _ in $(seq 10); do
    xdotool key Escape
    for _ in $(seq 30); do gone "$dialog" && break 2; sleep 0.1; done
done
gone "$dialog" || fail "Escape did not close the Import dialog"

# F1: the About box, wide enough for its whole title.
xdotool key F1
wait_for sh -c "[ \$(xdotool search --onlyvisible --name '^Morvane Radio Tuner\$' | wc -l) -ge 2 ]"
box=$(other_window "Morvane Radio Tuner")
belongs_to_window "$box" "the About box"
read -r _ _ box_w _ < <(geometry "$box")
((box_w >= 360)) || fail "the About box is $box_w wide, too narrow for its title"
xdotool key Return
wait_for gone "$box"
xdotool windowactivate --sync "$window"
# Ctrl+Q closes the window (asked again should the first fall into the box's closing).
for _ in $(seq 10); do
    xdotool key ctrl+q
    for _ in $(seq 20); do
        kill -0 "$tool_pid" 2>/dev/null || break 2
        sleep 0.1
    done
done
! kill -0 "$tool_pid" 2>/dev/null || fail "Ctrl+Q did not close the window"
status=0
wait "$tool_pid" || status=$?
tool_pid=""
((status == 0)) || fail "the tool ended with $status after Ctrl+Q"
# Its end removed the lib directory, so the next start's splash is waited for afresh.
wait_for test ! -e "$lib"
grep -q "^window=" "$XDG_CONFIG_HOME/morvane-radio-tuner/settings" || fail "the window's place was not remembered"

# --- 2x: the desktop says so through GDK_SCALE; the room is drawn by whole pixels.
rm -f "$XDG_CONFIG_HOME/morvane-radio-tuner/settings"
GDK_SCALE=2 start_tool
((width == 768 && height == 384)) || fail "at 2x the window is ${width}x${height}, not 768x384"
import -window root "$work/root.png"
convert "$work/root.png" -crop "768x384+$left+$top" +repage "$out/window-2x.png"
# Every room pixel is a 2 x 2 block of one colour: halved and doubled again, nothing changes.
convert "$out/window-2x.png" -sample 50% -sample 200% "$work/resampled.png"
changed=$(compare -metric AE "$out/window-2x.png" "$work/resampled.png" null: 2>&1 || true)
[[ "$changed" == 0 ]] || fail "the 2x window is not drawn by whole pixels ($changed pixels differ)"
spread=$(convert "$out/window-2x.png" -format '%[fx:standard_deviation]' info:)
awk -v s="$spread" 'BEGIN { exit !(s > 0.01) }' || fail "the 2x window shows no picture"
# The About button, at room position 350, 80, is clicked at twice that.
xdotool mousemove --window "$window" 700 160 click 1
wait_for sh -c "[ \$(xdotool search --onlyvisible --name '^Morvane Radio Tuner\$' | wc -l) -ge 2 ]"
echo "2x: 768x384, whole pixels, the About button answers where it is drawn"
stop "$tool_pid"
tool_pid=""

# The window's place is remembered on the screen, not in the room: moved at 2x, it comes back to the
# same pixel at 2x and at 1x (a place is kept in whole room units: at 2x, even pixels).
GDK_SCALE=2 start_tool
xdotool windowmove --sync "$window" 300 202
for _ in $(seq 50); do
    read -r left top _ < <(geometry "$window")
    ((left == 300 && top == 202)) && break
    sleep 0.1
done
((left == 300 && top == 202)) || fail "the window could not be moved to 300,202 (it is at $left,$top)"
sleep 0.5
stop "$tool_pid"
for scale in 2 1; do
    GDK_SCALE=$scale start_tool
    ((left == 300 && top == 202)) || fail "moved to 300,202 at 2x, the window came back at $left,$top at ${scale}x"
    stop "$tool_pid"
done
tool_pid=""
echo "the place saved at 2x is the same on the screen at 2x and at 1x"

# A desktop at 200% that says so only through Xft.dpi in the X resources.
xprop -root -format RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t192')"
start_tool
((width == 768 && height == 384)) || fail "with Xft.dpi 192 the window is ${width}x${height}, not 768x384"
echo "Xft.dpi 192: 768x384"
stop "$tool_pid"
tool_pid=""
xprop -root -remove RESOURCE_MANAGER

# A signal ends the window at once, a box open included, with the shell's status for it.
for signal in TERM:143 HUP:129 INT:130; do
    start_tool
    xdotool key F1
    wait_for sh -c "[ \$(xdotool search --onlyvisible --name '^Morvane Radio Tuner\$' | wc -l) -ge 2 ]"
    kill -s "${signal%:*}" "$tool_pid"
    for _ in $(seq 50); do kill -0 "$tool_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$tool_pid" 2>/dev/null && fail "SIG${signal%:*} with the About box open did not end the window"
    status=0
    wait "$tool_pid" || status=$?
    tool_pid=""
    ((status == ${signal#*:})) || fail "SIG${signal%:*} ended the window with $status, not ${signal#*:}"
    wait_for test ! -e "$lib"
done
echo "SIGTERM, SIGHUP and SIGINT end the window with a box open: 143, 129, 130"
echo "screenshots: $out/window-1x.png $out/window-2x.png"
