#!/usr/bin/env bash
# A second copy of the tool leaves the first fully working: a second start hands over to the first
# window and ends before it touches the first one's lib directory.
# Run by private_display.sh on a display of its own; exit 77 (skipped) when a tool is missing.
set -euo pipefail
bin=$1
work=$(mktemp -d)
first=""
cleanup() {
    set +e
    if [[ -n "$first" ]] && kill "$first" 2> /dev/null; then
        # A tool that does not end on SIGTERM within 20 s is stopped, so the failure shows at once.
        for _ in $(seq 200); do kill -0 "$first" 2> /dev/null || break; sleep 0.1; done
        kill -9 "$first" 2> /dev/null
        wait "$first" 2> /dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
export APPDATA="$work/appdata" ALSOFT_DRIVERS=null
lib=$APPDATA/Morvane_Radio_Tuner/lib
mkdir -p "$APPDATA"

# Waits up to a minute for a condition.
wait_for() {
    for _ in $(seq 600); do "$@" && return 0; sleep 0.1; done
    echo "FAIL: timed out waiting for: $*"
    exit 1
}
snapshot() { (cd "$lib" && find . -type f -exec sha1sum {} + | sort); }

"$bin/morvane-radio-tuner" > "$work/first.log" 2>&1 &
first=$!
# The splash has unpacked the helpers once the marker beside the executable is gone again.
wait_for test -f "$lib/tuner.head"
wait_for test ! -e "$bin/temp.dat"
sleep 1
# Stands for the preview the first window plays.
cp "$bin/samples/demo_track.mab" "$lib/stream.ogg"
before=$(snapshot)
# A second start hands over to the first window (which is raised) and ends at once with 0, before it
# touches anything; so does one where GTK cannot be loaded, as it needs no dialog.
status=0
timeout 20 "$bin/morvane-radio-tuner" > "$work/second.log" 2>&1 || status=$?
[[ $status == 0 ]] || { echo "FAIL: the second start ended with $status"; cat "$work/second.log"; exit 1; }
[[ "$(snapshot)" == "$before" ]] || { echo "FAIL: the second start changed the first one's lib directory"; exit 1; }
mkdir "$work/broken" && : > "$work/broken/libgtk-3.so.0"
status=0
LD_LIBRARY_PATH="$work/broken" timeout 20 "$bin/morvane-radio-tuner" > "$work/third.log" 2>&1 || status=$?
[[ $status == 0 ]] || { echo "FAIL: without GTK the second start ended with $status"; cat "$work/third.log"; exit 1; }
[[ "$(snapshot)" == "$before" ]] || { echo "FAIL: the third start changed the first one's lib directory"; exit 1; }

# The first window goes on, and at its end removes the lib directory as before (its exit code is
# not checked: a sanitizer build reports a system library's leak there).
kill -0 "$first" || { echo "FAIL: the first window is gone"; exit 1; }
kill "$first"
wait "$first" || true
first=""
[[ ! -e "$lib" ]] || { echo "FAIL: the window left the lib directory"; exit 1; }
echo "second start handed over; the first window's lib directory untouched"
