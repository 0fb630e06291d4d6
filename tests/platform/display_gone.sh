#!/usr/bin/env bash
# Run by private_display.sh, which it ends: a display that goes away under the window (a logout ends
# the X server) ends the tool as a hang-up does, whatever is open: the import under way is stopped, its
# helpers ended and the container left as it was, the lib directory removed, and the status is 129.
#   display_gone.sh <executable> import|box
set -euo pipefail

exe=${1:?usage: display_gone.sh <executable> import|box}
case=${2:?usage: display_gone.sh <executable> import|box}
window_test_needs="ffmpeg cmp"
# shellcheck source=window_test_lib.sh
source "$(dirname "$0")/window_test_lib.sh"
# shellcheck source=long_import_lib.sh
source "$(dirname "$0")/long_import_lib.sh"

if [[ "$case" == import ]]; then
    start_long_import
else
    # The About box, which GTK shows on a connection of its own.
    start_tool
    xdotool key --window "$window" F1
    wait_for sh -c "xdotool search --onlyvisible --name '^Morvane Radio Tuner\$' | grep -vx $window | grep -q ."
fi
kill "$XVFB_PID"
await_tool_end "the display going away with the $case open"
((status == 129)) || fail "the display going away ended the window with $status, not 129: $(tail -n 3 "$work/tool.log")"
[[ -z "$(helpers)" ]] || fail "the display went away and the helpers ran on"
cmp -s "$mab" "$work/long.mab.before" || fail "the display went away and the container changed"
wait_for test ! -e "$lib"
echo "the display went away with the $case open: 129, helpers gone, the container as it was, lib removed"
