#!/usr/bin/env bash
# Every name and path is the file the user meant: names up to the system's limit, ".." after a link,
# a container reached through a link, a container of another user's that root replaces, and a disk with
# room for the old container but not the new one.
source "$(dirname "$0")/../batch/batch_test_prelude.sh"
trap 'umount "$work/full" "$work/tiny" 2> /dev/null; rm -rf "$work"' EXIT
cd "$work"
mkdir -p helpers g elsewhere
"$bin/morvane-cmd" "expand \"$bin/lib.win\" -f:* \"$work/helpers\"" > /dev/null
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=330:duration=2" -ac 2 orig.wav
helpers/vgaudiocli.exe -i orig.wav orig.hca --out-format hca --hcaquality high > /dev/null
cat helpers/tuner.head orig.hca > original.sab
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=880:duration=1" -ac 2 song.wav

tuner() {
  "${program[@]}" "$@" > out.txt 2> err.txt
  status=$?
}
ok() { [ "$status" = 0 ] || fail "$1: $(cat err.txt)"; }
long() { printf "%$1s" "" | tr ' ' "$2"; }

# Names of 240 to 250 bytes work in full; from 251 the backup's name cannot exist, and the tool says so.
for length in 240 246 250; do
  c=g/$(long $((length - 4)) a).sab
  cp original.sab "$c"
  long "$length" x > "g/$(long $((length - 4)) e).wav"
  tuner --export "$c" "g/$(long $((length - 4)) e).wav" --replace "$c" song.wav
  ok "$length bytes"
  [ "$(head -c 4 "g/$(long $((length - 4)) e).wav")" = RIFF ] || fail "$length bytes: the export is not there"
  tuner --restore "$c"
  ok "$length bytes: restore"
  cmp -s "$c" original.sab || fail "$length bytes: not restored"
  rm -f "$c" "g/$(long $((length - 4)) e).wav"
done
c=g/$(long 247 b).sab
cp original.sab "$c"
tuner --replace "$c" song.wav
grep -qF "would be longer than the system allows (the container is as it was)" err.txt || fail "251 bytes: $(cat err.txt)"
cmp -s "$c" original.sab || fail "251 bytes: the container changed"
rm -f "$c"
[ "$(ls -A g)" = tuner.log ] || fail "left beside the containers: $(ls -A g)"
rm g/tuner.log

# ".." after a link leaves the folder the link points to, as every other program takes it.
mkdir -p g/real && ln -s "$work/elsewhere" g/lnk
cp original.sab elsewhere/t.sab
echo mine > g/mix.wav
tuner --info g/lnk/../elsewhere/t.sab --export g/lnk/../elsewhere/t.sab g/lnk/../mix.wav
ok "paths through a link"
[ "$(cat g/mix.wav)" = mine ] || fail "the export overwrote g/mix.wav"
[ "$(head -c 4 mix.wav)" = RIFF ] || fail "the export is not beside the linked folder"

# A container reached through a link: the file it points to is replaced and restored, the link stays.
ln -s "$work/elsewhere/t.sab" g/linked.sab
tuner --replace g/linked.sab song.wav
ok "replace through a link"
[ -L g/linked.sab ] && [ -e elsewhere/t.sab.orig ] || fail "the link was not followed: $(ls -l g elsewhere)"
tuner --restore g/linked.sab
cmp -s elsewhere/t.sab original.sab && [ -L g/linked.sab ] || fail "restore through a link"

# Root replacing a game user's private container keeps it the user's.
if [ "$(id -u)" = 0 ]; then
  cp original.sab g/own.sab && chown nobody:nogroup g/own.sab && chmod 600 g/own.sab
  tuner --replace g/own.sab song.wav
  ok "root replaces"
  [ "$(stat -c %U:%G:%a g/own.sab)" = nobody:nogroup:600 ] || fail "owner or mode lost: $(stat -c %U:%G:%a g/own.sab)"
  tuner --restore g/own.sab
  [ "$(stat -c %U:%G:%a g/own.sab)" = nobody:nogroup:600 ] || fail "restore: owner or mode lost"

  # Room for the backup and a short new container, not for a long one: the true reason.
  mkdir full
  mount -t tmpfs -o size=$(($(stat -c %s original.sab) / 4096 * 4096 * 3 + 16384)) tmpfs full
  cp original.sab full/t.sab
  tuner --replace full/t.sab song.wav
  ok "a replace that fits"
  ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=440:duration=30" -ac 2 big.wav
  tuner --replace full/t.sab big.wav
  grep -qF "full/t.sab: no space is left on the disk (the container is as it was)" err.txt || fail "full disk: $(cat err.txt)"
  cmp -s full/t.sab.orig original.sab || fail "full disk: the backup changed"

  # An export that does not fit leaves the file it was to replace, and is no success: the old file
  # decodes, but not to the track's length.
  mkdir tiny && mount -t tmpfs -o size=65536 tmpfs tiny
  ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=440:duration=0.2" -ac 1 -ar 8000 tiny/out.wav
  cp tiny/out.wav before.wav
  tuner --export original.sab tiny/out.wav
  [ "$status" = 1 ] && grep -qF "tiny/out.wav: no space is left on the disk" err.txt || fail "export on a full disk: $(cat err.txt)"
  cmp -s tiny/out.wav before.wav || fail "export on a full disk: the old file changed"
  umount tiny
fi
[ "$failures" = 0 ]
