#!/usr/bin/env bash
# Runs its arguments (a real-window test) on an Xvfb display of their own, whose process is XVFB_PID
# (a test may end it); exit 77 (skipped) when Xvfb is missing. Sourced, start_private_display starts
# one, exports DISPLAY and leaves xvfb_pid for the
# caller's cleanup; it fails, showing Xvfb's log, when the display does not start.
start_private_display() {
    local folder=$1
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$folder/display" 2>"$folder/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s "$folder/display" ]] && break
        sleep 0.1
    done
    [[ -s "$folder/display" ]] || { cat "$folder/xvfb.log"; return 1; }
    export DISPLAY=":$(head -n1 "$folder/display")"
}

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
    command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
    folder=$(mktemp -d)
    trap 'kill "$xvfb_pid" && wait "$xvfb_pid"; rm -rf "$folder"' EXIT
    start_private_display "$folder" || exit 1
    export XVFB_PID=$xvfb_pid
    "$@"
fi
