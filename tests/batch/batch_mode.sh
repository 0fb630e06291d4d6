#!/usr/bin/env bash
# Batch mode run for real, without a display, on HCA and Ogg containers with their streams at several
# offsets: info lines, exports, replace twice then restore, and every failure with its exit status,
# its reason and the files as they were.
# Run with the Windows build under Wine (see batch_test_prelude.sh), the checks that need Linux itself
# are left out: the loader's record, mounts, flock and the display.
source "$(dirname "$0")/batch_test_prelude.sh"
holder=
trap 'kill $holder 2> /dev/null; [ -n "$windows" ] || umount "$work/full" "$work/ro" 2> /dev/null; chmod -R u+w "$work"; rm -rf "$work"' EXIT
# tuner: runs batch mode in $work, keeping its stdout, stderr (without Windows' line ends) and exit status.
tuner() {
  (cd "$work" && "${program[@]}" "$@" > out.txt 2> err.txt)
  status=$?
  sed -i 's/\r$//' "$work/out.txt" "$work/err.txt"
}
expect_status() { [ "$status" = "$1" ] || fail "$2: exit status $status, not $1: $(cat "$work/err.txt")"; }
expect_err() { grep -qxF -- "$1" "$work/err.txt" || fail "no line \"$1\" on stderr: $(cat "$work/err.txt")"; }
same() { cmp -s "$work/$1" "$work/$2" || fail "$1 differs from $2"; }
duration() { ffprobe -v error -show_entries format=duration -of csv=p=0 "$1"; }

[ -z "$windows" ] || rm -rf "$save_area"
# A window's lib directory with its scratch file, which batch mode must leave alone; the folder of a
# killed batch (its lock free), which goes; and that of a running one (its lock held), which stays.
window_lib=$save_area/lib
mkdir -p "$window_lib" "$work/helpers" "$save_area/batch-killed"
echo preview > "$window_lib/stream.ogg"
touch "$save_area/batch-killed/batch.lock"
if [ -z "$windows" ]; then
  mkdir "$save_area/batch-running"
  (exec 9> "$save_area/batch-running/batch.lock"; flock 9; exec sleep 600) & holder=$!
fi
"$bin/morvane-cmd" "expand \"$bin/lib.win\" -f:* \"$work/helpers\"" > /dev/null

cd "$work"
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=330:duration=2" -ac 2 -ar 44100 two.wav
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=440:duration=1.5" -ac 1 -ar 48000 one.wav
helpers/vgaudiocli.exe -i two.wav two.hca --out-format hca --hcaquality high > /dev/null
helpers/vgaudiocli.exe -i one.wav one.hca --out-format hca --hcaquality high > /dev/null
ffmpeg -nostdin -v error -i two.wav -c:a libvorbis two.ogg
head -c 64 /dev/zero > h64
head -c 2032 /dev/zero > h2032
cat helpers/tuner.head two.hca > a.sab
cat h64 one.hca > b.sab
cp two.ogg c.mab
cat h2032 two.ogg > d.mab
cat h2032 h64 two.hca > late.sab
for f in a.sab b.sab c.mab d.mab; do cp "$f" "$f.pristine"; done
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=880:duration=3" -ac 2 song.mp3
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=550:duration=1" -ac 1 other.wav
echo "not audio" > song.flac
printf 'RIFF\0\0\0\0WAVEjunkjunkjunk' > broken.wav

# Info: one line per container, the failures on stderr, the others still listed.
tuner --info a.sab b.sab c.mab d.mab late.sab missing.sab
expect_status 1 "info with a bad and a missing container"
expected=$'a.sab\thca\t576\t44100\t2\nb.sab\thca\t64\t48000\t1\nc.mab\togg\t0\t44100\t2\nd.mab\togg\t2032\t44100\t2'
[ "$(cut -f1-5 out.txt)" = "$expected" ] || fail "info lines: $(cat out.txt)"
awk -F'\t' '{ want = ($5 == 1) ? 1.5 : 2; if ($6 < want - 0.05 || $6 > want + 0.05 || $6 !~ /^[0-9]+\.[0-9][0-9]$/ || $7 != "no") exit 1 }' out.txt ||
  fail "durations or backups: $(cat out.txt)"
expect_err "late.sab: no HCA or Ogg stream found in the first 2048 bytes"
expect_err "missing.sab: no such file"
grep -qx "info a.sab ..." err.txt && grep -q "^info a.sab: done in " err.txt || fail "progress lines: $(cat err.txt)"

# Wildcards: on Windows the program expands * and ? itself (the console leaves them to it, and Windows
# names hold neither), in any case, after a folder too, sorted, files only and by their long names; a
# pattern that matches nothing is a missing file. Elsewhere the shell has expanded them, and a name
# holding * or ? is only a name.
if [ -n "$windows" ]; then
  mkdir wild wild/z.sab && cp a.sab wild/x1.sab && cp b.sab wild/X2.SAB && cp c.mab wild/y.mab && cp a.sab wild/x1.sabx
  tuner --info 'wild\x?.sab' 'wild/*.mab' '*.sab' 'wild\nothing*.sab'
  expect_status 1 "info with wildcards"
  [ "$(cut -f1 out.txt | tr '\n' ' ')" = 'wild\x1.sab wild\X2.SAB wild/y.mab a.sab b.sab ' ] ||
    fail "wildcards gave: $(cut -f1 out.txt)"
  expect_err 'late.sab: no HCA or Ogg stream found in the first 2048 bytes'
  expect_err 'wild\nothing*.sab: no such file'
else
  cp a.sab 'a*.sab'
  tuner --info 'a*.sab' '?.sab'
  expect_status 1 "info with names holding * and ?"
  [ "$(cut -f1 out.txt)" = 'a*.sab' ] || fail "a name holding * gave: $(cut -f1 out.txt)"
  expect_err '?.sab: no such file'
  rm 'a*.sab'
fi

if [ -z "$windows" ]; then
  # No window, dialog or sound library is loaded by batch mode: the dynamic loader's record of the
  # process (its workers included; the helpers it starts keep records of their own).
  LD_DEBUG=libs LD_DEBUG_OUTPUT=$work/ld "$bin/morvane-radio-tuner" --info a.sab --export c.mab libs.wav > /dev/null 2>&1 &
  pid=$!
  wait $pid || fail "info and export with the loader's record: exit status $?"
  grep -q "calling init: .*/tuner.dll" "ld.$pid" || fail "no record of tuner.dll loaded: $(ls ld.*)"
  ! grep -E "init: .*/lib(SDL2|gtk|gdk|openal|X11|fontconfig|freetype|pulse|asound)" "ld.$pid" || fail "batch mode loads a window's library"
fi

# Export in the three formats, each file decoding to the track.
tuner --export a.sab out.mp3 --export d.mab out.ogg --export b.sab out.wav
expect_status 0 "export"
for pair in out.mp3:2 out.ogg:2 out.wav:1.5; do
  d=$(duration "${pair%%:*}")
  awk -v d="$d" -v w="${pair##*:}" 'BEGIN { exit !(d > w - 0.1 && d < w + 0.1) }' || fail "${pair%%:*} lasts $d s"
done

# Replace twice (the backup made once, both logged), then restore byte for byte; an Ogg container too.
# The second audio file has no extension and a dot in its folder's name.
mkdir my.music && cp other.wav my.music/other
tuner --replace a.sab song.mp3 --replace a.sab my.music/other --replace c.mab song.mp3
expect_status 0 "replace"
same a.sab.orig a.sab.pristine
same c.mab.orig c.mab.pristine
[ "$(tr -d '\r' < tuner.log | grep -c '^.*: "a.sab" > "\(song.mp3\|other\)" $')" = 2 ] || fail "tuner.log: $(cat tuner.log)"
tuner --info a.sab c.mab
[ "$(cut -f2-5,7 out.txt)" = $'hca\t576\t44100\t1\tyes\nhca\t576\t44100\t2\tyes' ] || fail "replaced: $(cat out.txt)"
tuner --restore a.sab --restore c.mab
expect_status 0 "restore"
same a.sab a.sab.pristine
same c.mab c.mab.pristine
[ ! -e a.sab.orig ] && [ ! -e c.mab.orig ] || fail "a backup is left after restore"
# A name in another script, with a space and an ampersand, is data all the way; Ogg audio replaces too.
cp a.sab.pristine "bgm ü 01 & co.sab"
tuner --replace "bgm ü 01 & co.sab" two.ogg --restore "bgm ü 01 & co.sab"
expect_status 0 "replace and restore of a name in another script"
same "bgm ü 01 & co.sab" a.sab.pristine

# The demo containers that ship: listed, exported, replaced and restored byte for byte.
mkdir demo && cp "$bin/samples/demo_track.sab" "$bin/samples/demo_track.mab" demo/
tuner --info demo/demo_track.sab demo/demo_track.mab --export demo/demo_track.sab demo.wav \
  --export demo/demo_track.mab demo.mp3 --replace demo/demo_track.sab song.mp3 --replace demo/demo_track.mab other.wav \
  --restore demo/demo_track.sab --restore demo/demo_track.mab
expect_status 0 "the demo containers"
[ "$(cut -f2-3 out.txt)" = $'hca\t576\nogg\t64' ] || fail "demo info: $(cat out.txt)"
cmp -s demo/demo_track.sab "$bin/samples/demo_track.sab" && cmp -s demo/demo_track.mab "$bin/samples/demo_track.mab" &&
  [ -s demo.wav ] && [ -s demo.mp3 ] && [ ! -e demo/demo_track.sab.orig ] || fail "demo containers: $(ls demo)"

# Failures: a reason each, the later actions still run, and no file changed.
chmod a-w b.sab
: > empty.sab
tuner --replace b.sab song.mp3 --replace d.mab song.flac --replace late.sab song.mp3 --replace a.sab broken.wav \
  --export missing.sab x.mp3 --restore a.sab --restore b.sab --info empty.sab --info a.sab
expect_status 1 "failed actions"
expect_err "b.sab: the container is read-only (the container is as it was)"
expect_err "d.mab: the chosen file is not MP3, Ogg or WAV audio (the container is as it was)"
expect_err "late.sab: no HCA or Ogg stream found in the first 2048 bytes"
expect_err "a.sab: the chosen file could not be converted to HCA (the container is as it was)"
expect_err "missing.sab: no such file"
expect_err "a.sab: it has no backup a.sab.orig to restore from"
expect_err "empty.sab: the file is empty"
[ "$(grep -c ': failed$' err.txt)" = 8 ] && grep -q "^info a.sab: done" err.txt || fail "progress: $(cat err.txt)"
for f in a.sab b.sab d.mab; do same "$f" "$f.pristine"; [ -e "$f.orig" ] && fail "$f.orig was left"; done
[ ! -e x.mp3 ] || fail "x.mp3 was written"

# Mounting needs root, which a package build does not have.
if [ -z "$windows" ] && [ "$(id -u)" != 0 ]; then
  echo "not run without root: a full disk and a read-only one"
elif [ -z "$windows" ]; then
  # A disk too full for the backup and a read-only one are named as the system reports them.
  mkdir full ro
  mount -t tmpfs -o size=$(($(stat -c %s a.sab) / 4096 * 4096 + 8192)) tmpfs full
  mount -t tmpfs -o ro tmpfs ro
  cp a.sab full/a.sab
  tuner --replace full/a.sab song.mp3 --export a.sab ro/x.mp3
  expect_status 1 "full and read-only disks"
  expect_err "full/a.sab: no space is left on the disk (the container is as it was)"
  expect_err "ro/x.mp3: the disk is read-only"
  same full/a.sab a.sab.pristine
  umount full ro
fi

if [ -z "$windows" ]; then
  # A batch whose container another holds, be it only to read it, waits for it before touching
  # anything, while a container beside it in the same folder is replaced meanwhile by a second worker
  # (with a long track, so that the held one would be done first if it did not wait).
  mkfifo release
  cp a.sab.pristine beside.sab
  ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=500:duration=60" -ac 2 long.wav
  (exec 9< a.sab; flock -s 9; read -r _ < release) & holder="$holder $!"
  until ! flock -n a.sab true; do sleep 0.1; done
  ("$bin/morvane-radio-tuner" --jobs 2 --replace a.sab other.wav --replace beside.sab long.wav > /dev/null 2> waited.txt) & waiter=$!
  for _ in $(seq 600); do grep -qF '"beside.sab"' tuner.log 2> /dev/null && break; sleep 0.1; done
  grep -qF '"beside.sab"' tuner.log || fail "the container beside the held one waited too"
  same a.sab a.sab.pristine
  echo > release
  wait $waiter || fail "the batch that waited failed: $(cat waited.txt)"
  grep -qxF "a.sab: waiting for another action on it" waited.txt || fail "no wait: $(cat waited.txt)"

  # The new container renamed into place is held as the old one was until its action ends: here it
  # is held up at its log line by the folder's lock.
  cp a.sab.pristine a.sab && rm -f a.sab.orig
  (exec 9< .; flock 9; read -r _ < release) & holder="$holder $!"
  until ! (exec 8< .; flock -n 8); do sleep 0.1; done
  ("$bin/morvane-radio-tuner" --replace a.sab other.wav > /dev/null 2> logged.txt) & logger=$!
  for _ in $(seq 600); do cmp -s a.sab a.sab.pristine || break; sleep 0.1; done
  cmp -s a.sab a.sab.pristine && fail "the replace held at its log line never placed its container"
  flock -n a.sab true && fail "the new container was free while its action went on"
  echo > release
  wait $logger || fail "the replace held at its log line failed: $(cat logged.txt)"

  # Two copies of the tool on one container: the second waits for the first, never runs in its middle.
  cp a.sab.pristine a.sab && rm -f a.sab.orig
  ("$bin/morvane-radio-tuner" --replace a.sab long.wav > /dev/null 2> first.txt) & first=$!
  for _ in $(seq 300); do [ -n "$(find "$save_area" -name 'replace.wav*')" ] && break; sleep 0.05; done
  "$bin/morvane-radio-tuner" --restore a.sab > /dev/null 2> second.txt
  wait $first || fail "the first copy failed: $(cat first.txt)"
  grep -qxF "a.sab: waiting for another action on it" second.txt || fail "the second copy did not wait: $(cat second.txt)"
  same a.sab a.sab.pristine

  # A copy that waited while another renamed a new container into place takes the new one's lock,
  # not that of a file nobody looks for. The folder stays held, so its log line keeps it locked.
  cp a.sab.pristine a.sab && rm -f a.sab.orig && mkfifo release_folder
  (exec 9< a.sab; flock 9; read -r _ < release) & holder="$holder $!"
  (exec 9< .; flock 9; read -r _ < release_folder) & holder="$holder $!"
  until ! flock -n a.sab true && ! (exec 8< .; flock -n 8); do sleep 0.1; done
  ("$bin/morvane-radio-tuner" --replace a.sab long.wav > /dev/null 2> late.txt) & late=$!
  for _ in $(seq 300); do grep -qF "waiting for another action" late.txt && break; sleep 0.05; done
  cp a.sab.pristine placed.sab && mv placed.sab a.sab
  echo > release
  for _ in $(seq 300); do [ -n "$(find "$save_area" -name 'replace.wav*')" ] && break; sleep 0.05; done
  flock -n a.sab true && fail "a copy that waited works unlocked on the container renamed into place"
  echo > release_folder
  wait $late || fail "the copy that waited failed: $(cat late.txt)"
fi

# Jobs: folders worked on side by side give what one job gives, in the order given; a failure in one
# folder changes nothing there and stops nothing elsewhere.
for n in 1 2; do
  for f in 1 2 3 4; do mkdir -p "jobs$n/f$f"; cp a.sab.pristine "jobs$n/f$f/a.sab"; done
  cp late.sab "jobs$n/f3/late.sab"
  # A worker gets its actions' names as data too.
  odd="jobs$n/f4/ü 01 & co %x%.sab"
  mv "jobs$n/f4/a.sab" "$odd"
  tuner --jobs $n --replace jobs$n/f1/a.sab other.wav --info jobs$n/f2/a.sab jobs$n/f3/late.sab "$odd" \
    --replace jobs$n/f2/a.sab song.flac --replace "$odd" song.mp3 --restore jobs$n/f1/a.sab --info jobs$n/f1/a.sab
  expect_status 1 "jobs $n with failures"
  sed "s/jobs$n/jobs/g; s/done in [0-9.]* s/done/" out.txt > "jobs$n.out"
  sed "s/jobs$n/jobs/g; s/done in [0-9.]* s/done/" err.txt > "jobs$n.err"
  same "jobs$n/f1/a.sab" a.sab.pristine
  same "jobs$n/f2/a.sab" a.sab.pristine
  same "$odd.orig" a.sab.pristine
  [ ! -e "jobs$n/f2/a.sab.orig" ] && ! cmp -s "$odd" a.sab.pristine || fail "jobs $n: containers"
done
same jobs1.out jobs2.out
# An export that a later replace reads, on another container of the folder: the replace waits for it.
cp a.sab.pristine chain1.sab && cp a.sab.pristine chain2.sab
tuner --jobs 2 --export chain1.sab chain.wav --replace chain2.sab chain.wav
expect_status 0 "a replace from the batch's own export"
same jobs1.err jobs2.err
[ "$(grep -c ': failed$' jobs2.err)" = 2 ] && [ "$(wc -l < jobs2.out)" = 3 ] || fail "jobs: $(cat jobs2.err jobs2.out)"
tuner --jobs 0 --info a.sab
[ "$status" = 2 ] || fail "--jobs 0 is not a usage error"

# Usage errors: status 2 and the usage text.
for usage in "--export a.sab" "--export a.sab out.flac" "--replace a.sab" "--frobnicate" "--info a.sab --help"; do
  tuner $usage
  [ "$status" = 2 ] && grep -q "^Usage:" err.txt || fail "\"$usage\" is not a usage error"
done
for help in --help -h; do
  tuner $help
  [ "$status" = 0 ] && grep -q -- "--replace CONTAINER AUDIO" out.txt || fail "$help"
done
for version in --version -V; do
  tuner $version
  [ "$status" = 0 ] && grep -qx "morvane-radio-tuner [0-9.]*" out.txt || fail "$version: $(cat out.txt)"
done
if [ -z "$windows" ]; then
  # The window without a display: one line that says so (the runtime's lines go to its log), status 1.
  APPDATA=$work/window tuner
  [ "$status" = 1 ] && [ "$(cat err.txt)" = "Cannot open a window: no display (neither DISPLAY nor WAYLAND_DISPLAY leads to one)" ] ||
    fail "a window without a display: status $status: $(cat err.txt)"
  # --verbose shows the runtime's lines in a user's words; its log keeps them as the runtime wrote them.
  APPDATA=$work/window tuner --verbose
  grep -qx "Morvane Radio Tuner [0-9.]*" err.txt && ! grep -E "Form|\[r[0-9]|INIFile|options\.ini|RunnerLoadGame" err.txt ||
    fail "--verbose shows: $(cat err.txt)"
  grep -qxF "v1.0(999)[r32908]" "$work/window/Morvane_Radio_Tuner/runtime.log" || fail "runtime.log lost its banner"
fi

# The window's lib directory and scratch file are untouched; batch mode leaves no folder behind.
[ "$(cat "$window_lib/stream.ogg")" = preview ] || fail "the window's scratch file changed"
# On Windows the folder locks live in the save area of the known folder, which Wine's APPDATA is.
left=$([ -n "$windows" ] && echo "helpers lib locks " || echo "batch-running helpers lib ")
[ "$(ls "$save_area" | tr '\n' ' ')" = "$left" ] || fail "left: $(ls "$save_area")"
[ "$failures" = 0 ] && echo "batch mode: all checks passed"
exit $((failures > 0))
