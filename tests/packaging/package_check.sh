#!/usr/bin/env bash
# The Debian package as a distribution checks it: lintian (pedantic; errors and warnings fail) on the
# binary packages and on a source package made from the commit, the AppStream metadata, the desktop
# entry and the man page as installed, the Depends that no library link shows, and, as root, the
# autopkgtest (which installs the package on this machine; removed again if it was not installed).
# package_check.sh FOLDER (where `make package` left the .changes and .deb files)
set -uo pipefail
out=${1:?usage: package_check.sh FOLDER}
cd "$(dirname "$0")/../.."
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
changes=$(ls "$out"/morvane-radio-tuner_*.changes)
deb=$(ls "$out"/morvane-radio-tuner_*_*.deb)

echo "lintian on $changes:"
lintian --pedantic --fail-on error,warning "$changes" || fail "lintian found errors or warnings in the binary packages"
# The source package of the commit (a native one: the tree as git has it).
git archive --prefix=morvane-radio-tuner/ HEAD | tar -x -C "$work"
(cd "$work" && dpkg-source --build morvane-radio-tuner > /dev/null) || fail "dpkg-source failed"
echo "lintian on the source package:"
lintian --pedantic --fail-on error,warning "$work"/*.dsc || fail "lintian found errors or warnings in the source package"

root=$work/root
dpkg-deb --extract "$deb" "$root"
for entry in "$root"/usr/share/applications/*.desktop; do
  desktop-file-validate "$entry" || fail "$entry is not a valid desktop entry"
done
appstreamcli validate --pedantic --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "the AppStream metadata is not valid"
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/morvane-radio-tuner.1.gz" > /dev/null 2> "$work/man.txt"
[ -s "$work/man.txt" ] && fail "the installed man page renders with warnings: $(cat "$work/man.txt")"
# GTK and the window's libraries are loaded at run time and ffmpeg is run, so no link names them.
depends=$(dpkg-deb --field "$deb" Depends)
for package in ffmpeg libgtk-3-0 libsdl2-2.0-0 libopenal1 libx11-6 libc6 libvorbisfile3 libmspack0 libpng16-16; do
  tr ',' '\n' <<< "$depends" | grep -qE "^ *$package( |$)" || fail "Depends lacks $package: $depends"
done

if [ "$(id -u)" = 0 ]; then
  installed=$(dpkg-query -W -f='${Status}' morvane-radio-tuner 2> /dev/null)
  autopkgtest "$deb" "$work/morvane-radio-tuner/" -- null || fail "the autopkgtest failed"
  [ "$installed" = "install ok installed" ] || dpkg --purge morvane-radio-tuner > /dev/null
else
  echo "SKIP: the autopkgtest installs the package, which needs root"
fi
[ "$failures" = 0 ] && echo PASS
