#!/usr/bin/env bash
# A file's name is only a name. Containers and audio files named with every character a command line
# could misread go through batch mode's four actions: each works on exactly the named files, and
# nothing else changes: not the canary home a quoted payload aims at, not the file that a %VAR% in a
# name would expand to, not the files beside them.
source "$(dirname "$0")/../batch/batch_test_prelude.sh"
export HOME=$work/home USER=walker

mkdir -p "$HOME/docs" "$work/music" "$work/helpers"
echo rc > "$HOME/.bashrc"
echo letter > "$HOME/docs/letter.txt"
"$bin/morvane-cmd" "expand \"$bin/lib.win\" -f:* \"$work/helpers\"" > /dev/null
cd "$work"
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=330:duration=1" -ac 2 t.wav
helpers/vgaudiocli.exe -i t.wav t.hca --out-format hca --hcaquality high > /dev/null
cat helpers/tuner.head t.hca > track.sab
ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=660:duration=1.5" -ac 1 song.mp3
# Bystanders: the expansion of bgm_%USER%.sab, and a file a stray '*' would match.
cp track.sab music/bgm_walker.sab
cp track.sab music/other.sab
bystanders() { (cd "$work" && find home music/bgm_walker.sab music/other.sab -type f -exec md5sum {} + | sort); }
before=$(bystanders)

containers=('bgm" & cd "%HOME%" & del * & ".sab' 'bgm_%USER%.sab' '-dash.sab' 'c^a&p|l<g>b!.sab' 'star*?.sab'
  $'new\nline.sab' ' blanks  ü ラジオ .sab')
audios=('x" & cd "%HOME%" & del * & ".mp3' '50% %USER% cut.mp3' '-song.mp3' 'a&b|c.mp3' '*.mp3' $'l\nf.mp3'
  'ü ラジオ.mp3')
for i in "${!containers[@]}"; do
  c=music/${containers[$i]}
  a=music/${audios[$i]}
  cp track.sab "$c"
  cp song.mp3 "$a"
  out=$(printf '%s' "$c" | head -c -4).ogg
  shown=$(printf '%q' "${containers[$i]}")
  "$bin/morvane-radio-tuner" --info "$c" --export "$c" "$out" --replace "$c" "$a" > info.txt 2> err.txt ||
    fail "$shown: actions failed: $(cat err.txt)"
  # A newline in a name is shown escaped: each line stays one line.
  [[ $(< info.txt) == "${c//$'\n'/'\n'}"$'\thca\t576\t'* ]] || fail "$shown: info: $(cat info.txt)"
  [ -s "$out" ] || fail "$shown: no export"
  cmp -s "$c.orig" track.sab || fail "$shown: the backup is not the original"
  cmp -s "$c" track.sab && fail "$shown: not replaced"
  logged="\"$(basename -- "$c")\" > \"$(basename -- "$a")\" "
  [[ $(tail -n 1 music/tuner.log) == *": ${logged//$'\n'/'\n'}" ]] || fail "$shown: log: $(< music/tuner.log)"
  [ "$(wc -l < music/tuner.log)" = $((i + 1)) ] || fail "$shown: the log has not one line a replacement"
  "$bin/morvane-radio-tuner" --restore "$c" 2> err.txt || fail "$shown: restore failed: $(cat err.txt)"
  cmp -s "$c" track.sab || fail "$shown: not restored"
  [ ! -e "$c.orig" ] || fail "$shown: backup left after restore"
  [ "$(bystanders)" = "$before" ] || { fail "$shown: a bystander changed"; before=$(bystanders); }
done
[ "$failures" = 0 ] && echo "all names passed"
exit $((failures > 0))
