#!/usr/bin/env bash
# A batch --replace interrupted by SIGTERM, SIGHUP (a closed terminal), or by SIGINT to its process group as a terminal's Ctrl-C
# sends it, is undone like a failed one: the container as it was, no backup left by it, no working
# folder, and the shell's status for the signal. Under Wine only the console's Ctrl-C (SIGINT) is an
# interruption: Wine ends a program on SIGTERM outright, as Windows has no such signal.
source "$(dirname "$0")/batch_test_prelude.sh"
cd "$work"
mkdir helpers
"$bin/morvane-cmd" "expand \"$bin/lib.win\" -f:* \"$work/helpers\"" > /dev/null
# Long enough that the rebuild is still running when the signal comes.
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=330:duration=5" -ac 2 -ar 44100 orig.wav
helpers/vgaudiocli.exe -i orig.wav orig.hca --out-format hca --hcaquality high > /dev/null
cat helpers/tuner.head orig.hca > pristine.sab
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=880:duration=240" -ac 2 song.mp3

for signal in $([ -n "$windows" ] || echo TERM HUP) INT; do
  cp pristine.sab a.sab
  rm -f a.sab.orig
  setsid "${program[@]}" --replace a.sab song.mp3 --info a.sab > out.txt 2> err.txt & pid=$!
  # The rebuild has begun: its working copy is in the work folder. The signal follows at once: on a
  # starved machine any wait may outlast the rest of the action.
  for _ in $(seq 600); do [ -n "$(find "$save_area" -name 'replace.mp3*' 2> /dev/null)" ] && break; sleep 0.05; done
  kill -s "$signal" -- "-$pid" || fail "$signal: the action ended before the signal: $(cat err.txt)"
  wait "$pid"
  status=$?
  want=$(case $signal in TERM) echo 143 ;; HUP) echo 129 ;; *) echo 130 ;; esac)
  [ "$status" = "$want" ] || fail "$signal: exit status $status, not $want: $(cat err.txt)"
  tr -d '\r' < err.txt | grep -qx "a.sab: interrupted (the container is as it was)" || fail "$signal: no reason given: $(cat err.txt)"
  tr -d '\r' < err.txt | grep -qx "info a.sab: skipped (interrupted)" || fail "$signal: the action not run has no line: $(cat err.txt)"
  cmp -s a.sab pristine.sab || fail "$signal: the container changed"
  [ ! -e a.sab.orig ] || fail "$signal: the backup made by the interrupted action was left"
  [ -z "$(ls "$save_area" | grep batch-)" ] || fail "$signal: a working folder was left"
done
[ "$failures" = 0 ] && echo "interrupted replace: undone each time"
exit $((failures > 0))
