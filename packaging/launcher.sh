#!/bin/sh
# Starts the installed tool. The tool writes its unpack marker into the folder of its executable,
# which an installed copy cannot write, so it runs from a program folder of the user's own in its
# save area. That folder holds copies, not links: the runtime finds its folder through /proc/self/exe,
# which resolves links, and it refuses a file in its folder that links out of it (tuner.dll).
set -eu
installed=$(dirname "$(readlink -f "$0")")/../lib/morvane-radio-tuner
installed=$(cd "$installed" && pwd -P)
# The save area as the runtime finds it: $APPDATA, else $XDG_DATA_HOME, else ~/.local/share.
data=${APPDATA:-${XDG_DATA_HOME:-${HOME:?}/.local/share}}
program="$data/Morvane_Radio_Tuner/program"
mkdir -p "$program"
# After an update the copies are replaced by a rename, so a copy that is running keeps its own files.
for file in morvane-radio-tuner tuner.dll morvane-cmd lib.win; do
    if ! cmp -s "$installed/$file" "$program/$file"; then
        cp "$installed/$file" "$program/.$file.$$"
        mv -f "$program/.$file.$$" "$program/$file"
    fi
done
exec "$program/morvane-radio-tuner" "$@"
