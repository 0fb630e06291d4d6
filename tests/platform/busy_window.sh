#!/usr/bin/env bash
# Run by private_display.sh: while a long import's command lines run, the window can be dragged by its
# top band, and its close button asks whether to stop; stopping ends the helpers at once, leaves the
# container as it was, says so and closes the window. SIGTERM stops it the same way, at once. Restore,
# which copies in the tool itself, shows its count moving and stops the same way.
set -euo pipefail

# busy_window.sh PROGRAM...: the executable, or a launcher and the Windows executable.
exe=${*: -1}
launcher=("${@:1:$#-1}")
window_test_needs="ffmpeg cmp"
# shellcheck source=window_test_lib.sh
source "$(dirname "$0")/window_test_lib.sh"

# shellcheck source=long_import_lib.sh
source "$(dirname "$0")/long_import_lib.sh"

# Waits for a box of the tool to have the keyboard, answers it with key $1 and waits for it to go.
box_open() { [[ -n "$(other_window "")" ]]; }
answer_box() {
    local box
    wait_for box_open
    box=$(other_window "")
    wait_for active_is "$box"
    xdotool key "$1"
    wait_for gone "$box"
}
start_long_import

# A drag by the top band moves the window while the import runs.
read -r left0 top0 _ < <(geometry "$window")
xdotool mousemove --window "$window" 100 12 mousedown 1
sleep 0.3
xdotool mousemove_relative --sync 60 40
sleep 0.3
xdotool mouseup 1
for _ in $(seq 30); do
    read -r left top _ < <(geometry "$window")
    ((left != left0 || top != top0)) && break
    sleep 0.1
done
((left == left0 + 60 && top == top0 + 40)) ||
    fail "dragged by 60,40 during the import, the window went from $left0,$top0 to $left,$top"
[[ -n "$(helpers)" ]] || fail "the import ended before the drag was done: the container is too short"
echo "dragged during the import"

# The close button asks; Yes stops the import at once.
xdotool mousemove --window "$window" $((width - 6)) 12 click 1
wait_for box_open
[[ -n "$(helpers)" ]] || fail "the import ended before it was stopped: the container is too short"
answer_box Return
for _ in $(seq 10); do [[ -z "$(helpers)" ]] && break; sleep 0.1; done
[[ -z "$(helpers)" ]] || fail "stopping the import left its helpers running: $(ps -o args= -p "$(helpers | head -n1)")"
echo "the helpers ended when the import was stopped"
# The window says so before it closes.
answer_box Return
for _ in $(seq 100); do kill -0 "$tool_pid" 2>/dev/null || break; sleep 0.1; done
! kill -0 "$tool_pid" 2>/dev/null || fail "the window stayed open after the import was stopped"
wait "$tool_pid" || true
tool_pid=""
cmp -s "$mab" "$work/long.mab.before" || fail "the stopped import changed the container"
wait_for test ! -e "$lib"
echo "stopped: helpers gone, the container as it was, the window closed and its lib directory removed"

# SIGTERM (a logout) in the middle of the import: the same stop, without a question, and 143. Not for
# the Windows build: a Windows program has no signals; its session's end comes as window messages.
if [[ -z "$windows" ]]; then
    start_long_import
    kill -TERM "$tool_pid"
    await_tool_end "SIGTERM during the import"
    ((status == 143)) || fail "SIGTERM during the import ended the window with $status, not 143"
    [[ -z "$(helpers)" ]] || fail "SIGTERM during the import left its helpers running"
    cmp -s "$mab" "$work/long.mab.before" || fail "the import stopped by SIGTERM changed the container"
    wait_for test ! -e "$lib"
    echo "SIGTERM during the import: 143 at once, helpers gone, the container as it was"
fi

# Restore copies in the tool itself: its note counts the copy up while the window is served, and the
# close button stops it with the container and its backup as they were. The backup is the demo
# container with zeros after its stream, in memory where there is room, so that the copy takes seconds
# and no disk's flush holds the count still: 4 GB where memory has 12 GB free (under Wine 2 GB were
# copied before three pictures were taken, 1 run in 4), else 2 GB.
fast=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d -p "$work")
gigabytes=2
(($(df --output=avail -k "$fast" | tail -n1) > 12 << 20)) && gigabytes=4
trap 'rm -rf "$fast"; cleanup' EXIT
sab=$fast/big.sab
cp "$samples/demo_track.sab" "$sab"
cp "$sab" "$sab.orig"
truncate -s "${gigabytes}G" "$sab.orig"
imported() { [[ -s "$lib/stream.ogg" && -z "$(helpers)" ]]; }
start_tool "$(native "$sab")"
wait_for imported
sleep 0.5
xdotool key ctrl+shift+r
answer_box Return
copying() { compgen -G "$fast/.morvane-copy-*" >/dev/null; }
wait_for copying
# The window as shown, before the note and then with each count it gives.
pictures=()
while copying && ((${#pictures[@]} < 3)); do
    picture=$(import -window "$window" rgb:- 2>/dev/null | md5sum)
    [[ " ${pictures[*]} " == *" ${picture%% *} "* ]] || pictures+=("${picture%% *}")
done
((${#pictures[@]} >= 3)) || fail "the window showed ${#pictures[@]} pictures while the backup was copied, not a moving count"
echo "the restore's note counted up"
xdotool mousemove --window "$window" $((width - 6)) 12 click 1
answer_box Return
answer_box Return
await_tool_end "stopping the restore"
cmp -s "$sab" "$samples/demo_track.sab" || fail "the stopped restore changed the container"
[[ $(stat -c %s "$sab.orig") == $((gigabytes << 30)) ]] || fail "the stopped restore changed the backup"
! copying || fail "the stopped restore left its copy behind"
echo "stopped: the container and its backup as they were"
