#!/usr/bin/env bash
# Builds the Debian package of the commit twice from scratch, from `git archive` copies in folders of
# different names and depths, under different umasks, time zones and locales, one after the other, and
# compares the .deb files byte for byte (diffoscope shows what differs). The first build runs the tests,
# as a distribution's would, and its log goes through blhc (every compile and link hardened); the
# second leaves the tests out (nocheck), which must not change a byte either. A folder given as the
# argument (where `make package` left its files) is compared with the first build as well.
set -uo pipefail
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
commit=$(git rev-parse HEAD)
echo "building $commit twice"
build() { # build FOLDER UMASK TZ LOCALE DEB_BUILD_OPTIONS
  mkdir -p "$1"
  git archive "$commit" | tar -x -C "$1"
  (cd "$1" && umask "$2" && TZ=$3 LC_ALL=$4 DEB_BUILD_OPTIONS=$5 dpkg-buildpackage -us -uc -b > ../build.log 2>&1) ||
    { tail -n 30 "$(dirname "$1")/build.log"; exit 1; }
}
build "$work/first/morvane-radio-tuner" 022 UTC C.UTF-8 "parallel=2"
build "$work/second/elsewhere/tuner-copy" 077 Pacific/Kiritimati C "nocheck parallel=2"
failures=0
if command -v blhc > /dev/null; then
  blhc --all "$work/first/build.log" || { failures=$((failures + 1)); echo "FAIL: blhc found unhardened steps"; }
fi
for first in "$work"/first/*.deb; do
  for other in "$work/second/elsewhere" "$@"; do
    second=$other/$(basename "$first")
    if cmp -s "$first" "$second"; then
      echo "same: $second"
    else
      failures=$((failures + 1))
      echo "FAIL: $second differs from the first build's"
      command -v diffoscope > /dev/null && diffoscope "$first" "$second" | head -n 200
    fi
  done
done
[ "$failures" = 0 ] && echo PASS
