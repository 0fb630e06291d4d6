#!/usr/bin/env bash
# The Windows installer under Wine, as a user runs it: a silent per-user install puts the programs, the
# Start-menu entry, the .sab/.mab association and the folder on PATH in place, the installed programs
# start (the window from the Start-menu entry, on a display) and work on the demo containers; while the
# tool runs, neither the uninstaller nor the installer touches it; the silent uninstall takes away what
# was installed and keeps the user's settings. Installed into a folder of the user's (a game's), the
# uninstaller leaves every file of the user's there and, asked on a display, removes the settings too.
# A fresh Wine prefix each time, as a fresh Windows profile.
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
uninstaller=morvane-radio-tuner-uninstall.exe
for file in morvane-radio-tuner.exe morvane-radio-tuner.com lib.win samples/demo_track.sab samples/demo_track.mab \
  README.txt licenses/open-sans/copyright $uninstaller; do
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
# replaced with the export (a call of its own: containers are worked on side by side), then restored
# byte for byte.
cp "$folder/samples/demo_track.mab" "$prefix.pristine"
win "$programs\\morvane-radio-tuner.com" --info "$programs\\samples\\demo_track.sab" \
  --export "$programs\\samples\\demo_track.sab" "$programs\\samples\\demo.wav" > "$prefix.out" &&
  win "$programs\\morvane-radio-tuner.com" --replace "$programs\\samples\\demo_track.mab" "$programs\\samples\\demo.wav" ||
  fail "the installed tool's actions failed"
grep -q $'\thca\t576\t44100\t2\t' "$prefix.out" || fail "the installed tool lists: $(cat "$prefix.out")"
cmp -s "$folder/samples/demo_track.mab.orig" "$prefix.pristine" || fail "the backup is not the original"
win "$programs\\morvane-radio-tuner.com" --restore "$programs\\samples\\demo_track.mab" > /dev/null ||
  fail "the installed tool's restore failed"
cmp -s "$folder/samples/demo_track.mab" "$prefix.pristine" || fail "the demo container was not restored"
rm -f "$prefix.out" "$prefix.pristine"

# A new console finds the console program on PATH, from any folder (a new Wine session reads the
# environment the installer left in the registry).
WINEPREFIX=$prefix wineserver -w
said=$(win cmd.exe /c "cd /d %TEMP% && morvane-radio-tuner --version")
[ "$said" = "morvane-radio-tuner $version" ] || fail "morvane-radio-tuner in a new console says \"$said\""

# On a display, the Start-menu entry starts the window, which unpacks its helpers from the installed
# lib.win (its command lines are logged in the save area).
if [ -n "${DISPLAY:-}" ]; then
  log=$(unix_path "$(wine_folder APPDATA "${wine_run[@]}")\\Morvane_Radio_Tuner\\shell.log")
  "${wine_run[@]}" start "$menu_entry" 2> /dev/null
  for _ in $(seq 600); do grep -qF "expand \"$programs\\" "$log" 2> /dev/null && break; sleep 0.1; done
  grep -qF "expand \"$programs\\" "$log" 2> /dev/null || fail "the Start-menu entry did not start the installed tool"
  # While it runs, the uninstaller and the installer refuse, and change nothing. The uninstaller runs
  # in place, so that its status is its own: "_?=FOLDER" ends its command line unquoted, which only a
  # batch file passes on as it is.
  printf '@"%s\\%s" /S _?=%s\r\n@exit /b %%errorlevel%%\r\n' "$programs" "$uninstaller" "$programs" > "$prefix.bat"
  "${wine_run[@]}" cmd.exe /c "Z:${prefix//\//\\}.bat" 2> /dev/null
  status=$?
  rm -f "$prefix.bat"
  [ "$status" = 2 ] || fail "the uninstaller ended with status $status while the tool ran"
  "${wine_run[@]}" "$setup" /S 2> /dev/null
  status=$?
  [ "$status" = 2 ] || fail "the installer ended with status $status while the tool ran"
  for file in morvane-radio-tuner.exe tuner.dll lib.win $uninstaller; do
    [ -f "$folder/$file" ] || fail "$file went while the tool ran"
  done
  [ -f "$entry" ] || fail "the Start-menu entry went while the tool ran"
  WINEPREFIX=$prefix wineserver -k
fi

appdata=$(unix_path "$(wine_folder APPDATA "${wine_run[@]}")")
mkdir -p "$appdata/morvane-radio-tuner" "$appdata/Morvane_Radio_Tuner"
echo "volume=0.5" > "$appdata/morvane-radio-tuner/settings"
touch "$appdata/Morvane_Radio_Tuner/shell.log"
"${wine_run[@]}" "$programs\\$uninstaller" /S 2> /dev/null || fail "the uninstaller ended with status $?"
# The uninstaller works from a copy of itself, which it starts and leaves running.
WINEPREFIX=$prefix wineserver -w
# The export and the log of the replacement made above are the user's.
left=$(cd "$folder" 2> /dev/null && find . -mindepth 1 | sort | tr '\n' ' ')
[ "$left" = "./samples ./samples/demo.wav ./samples/tuner.log " ] || fail "the uninstaller left $left"
[ ! -e "$entry" ] || fail "the uninstaller left the Start-menu entry"
! win reg query 'HKCU\Software\Classes\.sab' /ve | grep -q "MorvaneRadioTuner" || fail "the .sab association is left"
! win reg query 'HKCU\Environment' /v Path | grep -qF "$programs" || fail "the folder is left on PATH"
[ -f "$appdata/morvane-radio-tuner/settings" ] && [ -f "$appdata/Morvane_Radio_Tuner/shell.log" ] ||
  fail "the silent uninstall removed the user's settings or working files"

# Installed into the game's own folder: the uninstaller takes only its own files, and the user's
# (one of them named like a folder of ours) stay. Not under the profile: Wine links Documents to $HOME.
game='C:\Games\MORVANE'
game_folder=$(unix_path "$game")
mkdir -p "$game_folder/datas/sound" "$game_folder/samples"
echo "progress" > "$game_folder/savegame.dat"
echo "track" > "$game_folder/datas/sound/bgm_01.sab"
echo "mine" > "$game_folder/samples/notes.txt"
mine=$(cd "$game_folder" && find . | sort)
"${wine_run[@]}" "$setup" /S "/D=$game" 2> /dev/null || fail "the installer into the game's folder ended with status $?"
[ -f "$game_folder/morvane-radio-tuner.exe" ] || fail "nothing was installed into $game_folder"
if [ -n "${DISPLAY:-}" ]; then
  # As a user answers it: Uninstall, then Yes to the question about the settings, then Close.
  "${wine_run[@]}" "$game\\$uninstaller" 2> /dev/null &
  windows() { xdotool search --name "^Morvane Radio Tuner Uninstall" 2> /dev/null; }
  press() { xdotool windowfocus --sync "$1" key "$2" 2> /dev/null; }
  # Each key is sent again until it is taken: a busy machine may show a window before it listens.
  for _ in $(seq 300); do [ -n "$(windows)" ] && break; sleep 0.1; done
  for _ in $(seq 60); do [ "$(windows | wc -l)" -ge 2 ] && break; press "$(windows | head -n1)" Return; sleep 0.5; done
  [ "$(windows | wc -l)" -ge 2 ] || fail "the uninstaller asked nothing about the settings"
  for _ in $(seq 60); do [ "$(windows | wc -l)" -lt 2 ] && break; press "$(windows | tail -n1)" y; sleep 0.5; done
  # Close is the default button once the work is done.
  for _ in $(seq 60); do [ -z "$(windows)" ] && break; press "$(windows | head -n1)" Return; sleep 0.5; done
  WINEPREFIX=$prefix timeout 60 wineserver -w || fail "the uninstaller did not end"
  [ ! -e "$appdata/morvane-radio-tuner" ] && [ ! -e "$appdata/Morvane_Radio_Tuner" ] ||
    fail "answered Yes, the uninstaller kept the settings or working files"
else
  "${wine_run[@]}" "$game\\$uninstaller" /S 2> /dev/null || fail "the uninstaller ended with status $?"
  WINEPREFIX=$prefix wineserver -w
fi
left=$(cd "$game_folder" 2> /dev/null && find . | sort)
[ "$left" = "$mine" ] || fail "the game's folder held $(echo $mine), and after the uninstall $(echo $left)"
[ "$failures" = 0 ] && echo "installer: installed, started, refused while running and uninstalled"
exit $((failures > 0))
