# Sourced by the real-window tests. tool_program PROGRAM...: PROGRAM is the executable, or a launcher
# and the Windows executable, run under Wine. Sets program (the command), exe, windows ("yes" or
# empty) and save_area, the tool's folder in APPDATA as a path here; call it after exporting APPDATA.
# native PATH prints a path as the program names it.
source "$(dirname "${BASH_SOURCE[0]}")/../wine_folders.sh"
tool_program() {
    program=("$@")
    exe=${program[-1]}
    windows=$([[ "$exe" == *.exe ]] && echo yes || true)
    save_area=$APPDATA/Morvane_Radio_Tuner
    if [[ -n "$windows" ]]; then
        local launcher=("${program[@]:0:${#program[@]}-1}")
        save_area=$(wine_unix_path "$(wine_folder APPDATA "${launcher[@]}")" "${launcher[@]}")/Morvane_Radio_Tuner
        # The prefix is shared by the tests: none starts with what another left, settings included.
        rm -rf "$save_area" "$(dirname "$save_area")/morvane-radio-tuner"
    fi
}

# Wine names our files through its drive Z:, which is /.
native() {
    if [[ -n "$windows" ]]; then printf 'Z:%s' "${1//\//\\}"; else printf '%s' "$1"; fi
}

# settle LOG: waits until the frame loop has gone to sleep and stayed asleep for a second, all it had
# to draw drawn (LOG: the tool's runtime.log, written with MORVANE_FRAME_LOG=1). A wake-up in which
# nothing changed (Wine sends a still window a message now and then) leaves it asleep. At most two
# minutes; fails showing the log's end.
settle() {
    local log=$1 before=-1 now
    for _ in $(seq 120); do
        # What the tool has done but sleep and wake up for nothing; asleep when, of the lines but those
        # wake-ups, its last is a sleep.
        now=$(grep -vc -e '^Frames sleep' -e '^Frames wake .*: nothing changed;' "$log" 2>/dev/null || true)
        if [[ "$now" == "$before" ]] &&
            grep -v '^Frames wake .*: nothing changed;' "$log" | tail -n1 | grep -q '^Frames sleep'; then
            return 0
        fi
        before=$now
        sleep 1
    done
    echo "FAIL: the window did not settle; the log ends:"
    tail -n 20 "$log"
    exit 1
}
