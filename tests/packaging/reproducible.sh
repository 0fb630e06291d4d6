#!/usr/bin/env bash
# Builds the Debian package of the commit twice, from `git archive` copies in folders of different names
# and depths, under different umasks, time zones and locales, one after the other, and compares the
# .deb files byte for byte; diffoscope shows what differs. The tests are left out (nocheck): they run
# in `make package`.
set -uo pipefail
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
build() { # build FOLDER UMASK TZ LOCALE
  mkdir -p "$1"
  git archive HEAD | tar -x -C "$1"
  (cd "$1" && umask "$2" && TZ=$3 LC_ALL=$4 DEB_BUILD_OPTIONS="nocheck parallel=2" \
    dpkg-buildpackage -us -uc -b > ../build.log 2>&1) || { tail -n 30 "$(dirname "$1")/build.log"; exit 1; }
}
build "$work/first/morvane-radio-tuner" 022 UTC C.UTF-8
build "$work/second/elsewhere/tuner-copy" 077 Pacific/Kiritimati en_GB.UTF-8
failures=0
for first in "$work"/first/*.deb; do
  second=$work/second/elsewhere/$(basename "$first")
  if cmp -s "$first" "$second"; then
    echo "same: $(basename "$first")"
  else
    failures=$((failures + 1))
    echo "FAIL: $(basename "$first") differs between the two builds"
    command -v diffoscope > /dev/null && diffoscope "$first" "$second" | head -n 200
  fi
done
[ "$failures" = 0 ] && echo PASS
