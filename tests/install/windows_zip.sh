#!/usr/bin/env bash
# What the Windows zip gives a user: a plain-text read-me with Windows' line ends that explains
# itself, the licence of every component inside the programs, and every program stripped, the helpers
# packed in lib.win included.
# windows_zip.sh ZIP OBJDUMP GCAB
set -uo pipefail
zip=$1
objdump=$2
gcab=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
(cd "$work" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
top=$(echo "$work"/*/)
readme=$top/README.txt

if [ -f "$readme" ]; then
  [ "$(grep -c $'\r$' "$readme")" = "$(wc -l < "$readme")" ] && [ "$(tail -c 2 "$readme" | od -An -tx1 | tr -d ' ')" = 0d0a ] ||
    fail "README.txt has lines without Windows' line ends"
  for said in "double-click morvane-radio-tuner.exe" "must stay writable" "Ctrl+O" "PowerShell" \
    "morvane-radio-tuner --info bgm_\*.sab" "%APPDATA%\\\\Morvane_Radio_Tuner" "licenses folder"; do
    tr -d '\r' < "$readme" | tr '\n' ' ' | grep -q -- "$said" || fail "README.txt does not say \"$said\""
  done
else
  fail "no README.txt in the zip: $(ls "$top")"
fi

# Each component linked into a program, ffmpeg.exe's libraries and the fonts in the game data.
for component in libsdl2 openal-soft libogg libvorbis lame libpng1.6 zlib libmspack fribidi harfbuzz ffmpeg \
  open-sans dejavu mingw-w64 gcc-runtime; do
  [ -n "$(ls "$top/licenses/$component" 2> /dev/null)" ] || fail "no licence for $component"
done

mkdir "$work/lib.win"
"$gcab" -x -C "$work/lib.win" "$top/lib.win" > /dev/null || fail "cannot unpack lib.win"
programs=$(find "$top" "$work/lib.win" -maxdepth 1 \( -iname '*.exe' -o -iname '*.com' -o -iname '*.dll' \))
[ "$(echo "$programs" | grep -c .)" -ge 8 ] || fail "programs found: $programs"
for program in $programs; do
  "$objdump" -h "$program" | grep -q '\.debug_' && fail "${program#"$work"/} is not stripped"
done
[ "$failures" = 0 ] && echo "zip: read-me, licences and stripped programs"
exit $((failures > 0))
