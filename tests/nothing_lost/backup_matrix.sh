#!/usr/bin/env bash
# A backup is checked, never assumed. From each state of a container's ".orig" (none; the tool's own;
# stale after a game update, with and without the tool's record; empty; a folder; not a container;
# damaged) Replace and Restore either end with the right original recoverable and say so, or refuse
# with the true reason and change nothing.
source "$(dirname "$0")/../batch/batch_test_prelude.sh"
cd "$work"
mkdir -p helpers
"$bin/morvane-cmd" "expand \"$bin/lib.win\" -f:* \"$work/helpers\"" > /dev/null
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=330:duration=2" -ac 2 orig.wav
helpers/vgaudiocli.exe -i orig.wav orig.hca --out-format hca --hcaquality high > /dev/null
# The game's own containers: not the tool's header; the update is an Ogg container.
{ head -c 512 /dev/zero | tr '\0' 'G'; cat orig.hca; } > original.sab
ffmpeg -nostdin -v error -i orig.wav -c:a libvorbis -f ogg update.sab
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=880:duration=1" -ac 2 song.wav

# tuner DATA ACTION...: batch mode with its own data folder, its status and stderr kept.
tuner() {
  APPDATA=$work/$1 "${program[@]}" "${@:2}" > out.txt 2> err.txt
  status=$?
}
expect() { # STATUS TEXT-ON-STDERR WHAT
  [ "$status" = "$1" ] || fail "$3: exit status $status, not $1: $(cat err.txt)"
  grep -qF -- "$2" err.txt || fail "$3: no \"$2\" in: $(cat err.txt)"
}
same() { cmp -s "$1" "$2" || fail "$3: $1 is not $2"; }
fresh() { rm -rf g && mkdir g && cp original.sab g/t.sab; }

fresh
tuner a --replace g/t.sab song.wav && tuner a --replace g/t.sab song.wav
expect 0 "done" "replace twice"
same g/t.sab.orig original.sab "the tool's own backup is kept"
tuner b --replace g/t.sab song.wav
expect 0 "done" "replace from another data folder"
same g/t.sab.orig original.sab "the tool's output without its record"
tuner b --restore g/t.sab
expect 0 "done" "restore"
same g/t.sab original.sab "restored"
[ ! -e g/t.sab.orig ] || fail "the backup is left after restore"

# A game update over a replaced container is a new original: it becomes the backup, the older one stays.
# An update of the original's very length (a patched header) is told from it by its bytes.
{ head -c 512 /dev/zero | tr '\0' 'P'; cat orig.hca; } > patch.sab
for run in a:update.sab c:update.sab a:patch.sab; do
  data=${run%%:*} update=${run#*:}
  fresh
  tuner a --replace g/t.sab song.wav
  cp "$update" g/t.sab
  tuner "$data" --replace g/t.sab song.wav
  expect 0 "that version is now the backup t.sab.orig, which Restore brings back" "replace after $update ($data)"
  same g/t.sab.orig "$update" "the update is the backup ($data)"
  same g/t.sab.*-*.orig original.sab "the earlier backup is kept under a dated name ($data)"
  tuner "$data" --restore g/t.sab
  same g/t.sab "$update" "restore brings the update back ($data)"
done

refused() { # WHAT REASON: Replace and Restore both refuse, the container and the backup untouched
  cp -a g/t.sab.orig before.orig 2> /dev/null || true
  for action in "--replace g/t.sab song.wav" --restore\ g/t.sab; do
    tuner a $action
    expect 1 "its backup t.sab.orig $2" "$1: ${action%% *}"
    same g/t.sab original.sab "$1: the container after ${action%% *}"
  done
}
fresh; : > g/t.sab.orig; refused "an empty backup" "is empty"
fresh; mkdir g/t.sab.orig; refused "a folder" "is not a file"
fresh; echo "notes" > g/t.sab.orig; refused "a text file" "is not a container"
fresh; head -c 3000 original.sab > g/t.sab.orig; refused "a cut backup" "is damaged"
# A disk that stores wrong bytes without a word: what the tool wrote is read back, and a container
# or a conversion that did not come out whole is refused with nothing changed.
if [ -z "$windows" ]; then
  lossy() { # PATH-PREFIX OFFSET DATA ACTION...
    MORVANE_LOSSY_PREFIX=$1 MORVANE_LOSSY_AT=$2 LD_PRELOAD=$MORVANE_LOSSY_WRITES \
      ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 tuner "${@:3}"
  }
  fresh
  lossy "$(pwd -P)/g/.morvane-copy-" 0 a --replace g/t.sab song.wav
  expect 1 "the backup could not be written" "a backup written wrong"
  same g/t.sab original.sab "a backup written wrong: the container"
  [ ! -e g/t.sab.orig ] || fail "a backup written wrong is left"
  tuner a --replace g/t.sab song.wav
  cp g/t.sab replaced.sab
  lossy "$(pwd -P)/g/.morvane-copy-" 0 a --replace g/t.sab song.wav
  expect 1 "the new container could not be written" "a replace written wrong"
  same g/t.sab replaced.sab "a replace written wrong: the container"
  lossy "$(pwd -P)/g/.morvane-copy-" 0 a --restore g/t.sab
  expect 1 "the container could not be written" "a restore written wrong"
  same g/t.sab replaced.sab "a restore written wrong: the container"
  same g/t.sab.orig original.sab "a restore written wrong: the backup"
  # Each file the conversion writes in the data folder, past the header: the new stream's frames.
  lossy "$(pwd -P)/a/" 4096 a --replace g/t.sab song.wav
  expect 1 "the chosen file could not be converted to HCA" "a conversion written wrong"
  same g/t.sab replaced.sab "a conversion written wrong: the container"
fi
[ "$failures" = 0 ]
