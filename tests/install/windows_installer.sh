#!/usr/bin/env bash
# The Windows installer under Wine, as a user runs it: a silent per-user install puts the programs, the
# Start-menu entry and the .sab/.mab association in place, the installed programs start (the window from
# the Start-menu entry, on a display) and work on the demo containers; the silent uninstall takes all of
# it away again. A fresh Wine prefix each time, as a fresh Windows profile.
# windows_installer.sh SETUP VERSION WINE-RUN PREFIX
set -uo pipefail
setup=$1
version=$2
shift 2
wine_run=("$@")
prefix=${wine_run[1]}
rm -rf "$prefix"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# win PROGRAM ARGUMENT...: a Windows program's output, without Wine's messages and line ends.
win() { "${wine_run[@]}" "$@" 2> /dev/null | tr -d '\r'; }
source "$(dirname "$0")/../wine_folders.sh"
unix_path() { wine_unix_path "$1" "${wine_run[@]}"; }

"${wine_run[@]}" "$setup" /S 2> /dev/null || fail "the installer ended with status $?"
programs="$(wine_folder LOCALAPPDATA "${wine_run[@]}")\\Programs\\Morvane Radio Tuner"
menu_entry="$(wine_folder APPDATA "${wine_run[@]}")\\Microsoft\\Windows\\Start Menu\\Programs\\Morvane Radio Tuner.lnk"
folder=$(unix_path "$programs")
entry=$(unix_path "$menu_entry")
for file in morvane-radio-tuner.exe morvane-radio-tuner.com lib.win samples/demo_track.sab samples/demo_track.mab \
  README.md uninstall.exe; do
  [ -f "$folder/$file" ] || fail "$file was not installed in $folder"
done
[ -f "$entry" ] && strings "$entry" | grep -qF "$programs\\morvane-radio-tuner.exe" ||
  fail "no Start-menu entry for the window program: $entry"
for extension in .sab .mab; do
  win reg query "HKCU\\Software\\Classes\\$extension" /ve | grep -q "MorvaneRadioTuner.Container" ||
    fail "$extension files do not open in the tool"
done
win reg query 'HKCU\Software\Classes\MorvaneRadioTuner.Container\shell\open\command' /ve |
  grep -qF "\"$programs\\morvane-radio-tuner.exe\" \"%1\"" || fail "the open command is not the window program's"

# Both installed programs start: the console one in the console, the window one where its output goes.
for program in morvane-radio-tuner.com morvane-radio-tuner.exe; do
  said=$(win "$programs\\$program" --version)
  [ "$said" = "morvane-radio-tuner $version" ] || fail "the installed $program says \"$said\""
done

# The installed tool at work on its own demo containers, in batch mode: listed, exported, the Ogg one
# replaced with the export, then restored byte for byte.
cp "$folder/samples/demo_track.mab" "$folder/samples/pristine.mab"
win "$programs\\morvane-radio-tuner.com" --info "$programs\\samples\\demo_track.sab" \
  --export "$programs\\samples\\demo_track.sab" "$programs\\samples\\demo.wav" \
  --replace "$programs\\samples\\demo_track.mab" "$programs\\samples\\demo.wav" > "$prefix.out" ||
  fail "the installed tool's actions failed"
grep -q $'\thca\t576\t44100\t2\t' "$prefix.out" || fail "the installed tool lists: $(cat "$prefix.out")"
cmp -s "$folder/samples/demo_track.mab.orig" "$folder/samples/pristine.mab" || fail "the backup is not the original"
win "$programs\\morvane-radio-tuner.com" --restore "$programs\\samples\\demo_track.mab" > /dev/null ||
  fail "the installed tool's restore failed"
cmp -s "$folder/samples/demo_track.mab" "$folder/samples/pristine.mab" || fail "the demo container was not restored"
rm -f "$prefix.out"

# On a display, the Start-menu entry starts the window, which unpacks its helpers from the installed
# lib.win (its command lines are logged in the save area).
if [ -n "${DISPLAY:-}" ]; then
  log=$(unix_path "$(wine_folder APPDATA "${wine_run[@]}")\\Morvane_Radio_Tuner\\shell.log")
  "${wine_run[@]}" start "$menu_entry" 2> /dev/null
  for _ in $(seq 600); do grep -qF "expand \"$programs\\" "$log" 2> /dev/null && break; sleep 0.1; done
  grep -qF "expand \"$programs\\" "$log" 2> /dev/null || fail "the Start-menu entry did not start the installed tool"
  WINEPREFIX=$prefix wineserver -k
fi

"${wine_run[@]}" "$programs\\uninstall.exe" /S 2> /dev/null || fail "the uninstaller ended with status $?"
# The uninstaller works from a copy of itself, which it starts and leaves running.
WINEPREFIX=$prefix wineserver -w
[ ! -e "$folder" ] || fail "the uninstaller left $(ls "$folder")"
[ ! -e "$entry" ] || fail "the uninstaller left the Start-menu entry"
! win reg query 'HKCU\Software\Classes\.sab' /ve | grep -q "MorvaneRadioTuner" || fail "the .sab association is left"
[ "$failures" = 0 ] && echo "installer: installed, started and uninstalled"
exit $((failures > 0))
