#!/usr/bin/env bash
# Replace and Restore of a large container run in bounded memory: batch mode keeps the files it may
# have to put back open instead of reading them, and compares and checks them a block at a time.
source "$(dirname "$0")/batch_test_prelude.sh"
mkdir "$work/helpers" && cd "$work"
"$bin/morvane-cmd" "expand \"$bin/lib.win\" -f:* \"$work/helpers\"" > /dev/null
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=330:duration=1" -ac 2 t.wav
helpers/vgaudiocli.exe -i t.wav t.hca --out-format hca --hcaquality high > /dev/null
# A real head and stream, then zeros up to 256 MB: the probe reads only the first 2048 bytes.
cat helpers/tuner.head t.hca > big.sab
truncate -s 256M big.sab
cp big.sab pristine.sab
# tuner ACTION...: runs batch mode, leaving its peak resident size in kB in $peak.
tuner() { /usr/bin/time -f %M -o peak.txt "${program[@]}" "$@" > /dev/null 2> err.txt; status=$?; peak=$(tail -n 1 peak.txt); }
# The bound is what the program holds doing nothing (a sanitizer's shadow memory, Wine's loader) plus
# 32 MB, and never under 64 MB, which the ffmpeg a Replace runs takes alone (about 55 MB); holding the
# 256 MB container goes over either.
tuner --help
limit_kb=$((peak + 32768 > 65536 ? peak + 32768 : 65536))
tuner --replace big.sab t.wav
[ "$status" = 0 ] || fail "replace: $(cat err.txt)"
[ "$peak" -lt "$limit_kb" ] || fail "replace held $peak kB"
cmp -s big.sab.orig pristine.sab || fail "the backup is not the original"
tuner --restore big.sab
[ "$status" = 0 ] || fail "restore: $(cat err.txt)"
[ "$peak" -lt "$limit_kb" ] || fail "restore held $peak kB"
cmp -s big.sab pristine.sab || fail "not restored"
exit $((failures > 0))
