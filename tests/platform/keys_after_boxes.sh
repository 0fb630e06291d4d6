#!/usr/bin/env bash
# Run by private_display.sh: every key press after a dialog or box closes is seen at once. Rounds open
# the About box (F1), the Import dialog (Ctrl+O) and a guard's box (Ctrl+E with nothing imported), close
# them with Return or Escape, and the next round's key must open the next one, pressed once; last,
# Ctrl+Q pressed once ends the window. A key lost 1 time in 10 fails within the default 12 rounds
# (ROUNDS). keys_after_boxes.sh PROGRAM...: the executable, or a launcher and the Windows executable.
set -euo pipefail

exe=${*: -1}
launcher=("${@:1:$#-1}")
rounds=${ROUNDS:-12}
# shellcheck source=window_test_lib.sh
source "$(dirname "$0")/window_test_lib.sh"

# Waits up to 10 s for a window of the tool other than the main one to be in front; prints it.
wait_for_box() {
    local box
    for _ in $(seq 100); do
        box=$(other_window "")
        if [[ -n "$box" ]] && active_is "$box"; then
            echo "$box"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

start_tool
wait_for active_is "$window"
openers=("F1" "ctrl+o" "ctrl+e")
closers=("Return" "Escape")
for ((round = 0; round < rounds; ++round)); do
    opener=${openers[round % 3]}
    # The Import dialog takes Return as "open", so it is closed with Escape.
    closer=${closers[round % 2]}
    [[ "$opener" == ctrl+o ]] && closer=Escape
    # Every other round the key is let go only once the box is in front, as a slow finger does: the
    # release then goes to the box, not to the window that saw the press.
    if ((round % 2)); then
        xdotool keydown "$opener"
        box=$(wait_for_box) || fail "round $round: $opener, pressed once after a box closed, opened nothing"
        xdotool keyup "$opener"
    else
        xdotool key "$opener"
        box=$(wait_for_box) || fail "round $round: $opener, pressed once after a box closed, opened nothing"
    fi
    # GTK's file chooser takes keys only once it has filled its view, which a loaded machine may
    # delay, and an early key may open its location popup, which Escape closes first: while the
    # dialog stays and the window has not got the keyboard back, its Escape is pressed again (never
    # into the window, which Escape would close).
    tries=$([[ "$opener" == ctrl+o ]] && echo 6 || echo 1)
    for ((try = 0; try < tries; ++try)); do
        [[ "$opener" == ctrl+o ]] && sleep 0.5
        gone "$box" || active_is "$window" || xdotool key "$closer"
        for _ in $(seq $((100 / tries))); do gone "$box" && break 2; sleep 0.1; done
    done
    gone "$box" || fail "round $round: $closer did not close what $opener opened"
    for _ in $(seq 50); do active_is "$window" && break; sleep 0.1; done
    active_is "$window" || fail "round $round: the window did not get the keyboard back"
done
xdotool key ctrl+q
for _ in $(seq 100); do kill -0 "$tool_pid" 2>/dev/null || break; sleep 0.1; done
! kill -0 "$tool_pid" 2>/dev/null || fail "Ctrl+Q, pressed once after the last box, did not close the window"
status=0
wait "$tool_pid" || status=$?
tool_pid=""
((status == 0)) || fail "the tool ended with $status after Ctrl+Q"
echo "$rounds boxes and dialogs opened and closed by keys; every next key was seen"
