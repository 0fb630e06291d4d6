#!/usr/bin/env bash
# Sourced after window_test_lib.sh by the tests that need the window busy: a container whose import
# takes seconds, and the helper programs it runs.

# Twenty minutes of Ogg behind the demo .mab's header.
mab=$work/music/long.mab
head -c 64 "$samples/demo_track.mab" >"$mab"
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=440:duration=1200" -c:a libvorbis -f ogg - >>"$mab"
cp "$mab" "$work/long.mab.before"

# The helper programs run in the lib directory, and so do their interpreters. One that has ended but
# is not yet reaped (Wine leaves a killed one so for a few seconds) no longer runs.
helpers() {
    local cwd pid
    for cwd in /proc/[0-9]*/cwd; do
        pid=$(basename "$(dirname "$cwd")")
        [[ "$(readlink "$cwd" 2>/dev/null)" == "$lib" && "$(ps -o stat= -p "$pid" 2>/dev/null)" != Z* ]] &&
            echo "$pid"
    done
    return 0
}

# Starts the tool and hands it the long container, which the window imports.
start_long_import() {
    start_tool
    "${program[@]}" "$(native "$mab")"
    for _ in $(seq 100); do [[ -n "$(helpers)" ]] && break; sleep 0.1; done
    [[ -n "$(helpers)" ]] || fail "the handed-over container's import did not start"
}

# Waits up to 5 s for the tool to end; leaves its status in `status`.
await_tool_end() {
    for _ in $(seq 50); do kill -0 "$tool_pid" 2>/dev/null || break; sleep 0.1; done
    ! kill -0 "$tool_pid" 2>/dev/null || fail "$1 did not end the window"
    status=0
    wait "$tool_pid" || status=$?
    tool_pid=""
}
