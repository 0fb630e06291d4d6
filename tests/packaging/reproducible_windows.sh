#!/usr/bin/env bash
# Builds the Windows zip and installer of the commit twice from scratch, from `git archive` copies in
# folders of different names and depths, under different umasks, time zones and locales, one after the
# other (the Windows libraries come from the shared cache), and compares them byte for byte
# (diffoscope shows what differs).
set -uo pipefail
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
# Kept when the builds differ, to look at.
trap '[ "${failures:-1}" = 0 ] && rm -rf "$work"' EXIT
commit=$(git rev-parse HEAD)
echo "building the Windows packages of $commit twice"
build() { # build FOLDER UMASK TZ LOCALE
  mkdir -p "$1"
  git archive "$commit" | tar -x -C "$1"
  (cd "$1" && umask "$2" && TZ=$3 LC_ALL=$4 make windows-packages > ../build.log 2>&1) ||
    { tail -n 30 "$(dirname "$1")/build.log"; exit 1; }
}
build "$work/first/morvane-radio-tuner" 022 UTC C.UTF-8
build "$work/second/elsewhere/tuner-copy" 077 Pacific/Kiritimati C
failures=0
for first in "$work"/first/morvane-radio-tuner/build-win/*.zip "$work"/first/morvane-radio-tuner/build-win/*-setup.exe; do
  second=$work/second/elsewhere/tuner-copy/build-win/$(basename "$first")
  if cmp -s "$first" "$second"; then
    echo "same: $(basename "$first")"
  else
    failures=$((failures + 1))
    echo "FAIL: $(basename "$first") differs between the two builds"
    command -v diffoscope > /dev/null && diffoscope "$first" "$second" | head -n 200
  fi
done
[ "$failures" = 0 ] && echo PASS || { echo "the builds are in $work"; exit 1; }
