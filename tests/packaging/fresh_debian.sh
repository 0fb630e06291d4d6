#!/usr/bin/env bash
# The .deb on a fresh Debian 12 root, as a user gets it: a bookworm root made by mmdebstrap, where a
# plain `apt-get install ./….deb` (recommends on) must bring the fonts for Korean, Thai, Hebrew, Arabic,
# Devanagari, Japanese and emoji, each from a package the .deb depends on. Test tooling then joins
# without recommends and without a single font, and the status line test runs against the installed
# tool; --help, the installed man page (no warning) and a purge that leaves none of its files follow.
# Needs root (mmdebstrap, mount, chroot); the root lives in a temporary folder removed on exit.
# fresh_debian.sh FOLDER (where `make package` left the .deb files)
# shellcheck disable=SC2016,SC2020 # the sh -c scripts expand in the root; tr maps "," and "|" alike
set -uo pipefail
out=${1:?usage: fresh_debian.sh FOLDER}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
security=${DEBIAN_SECURITY_MIRROR:-http://deb.debian.org/debian-security}
deb=$(realpath "$out"/morvane-radio-tuner_*_*.deb) || exit 1
cd "$(dirname "$0")/../.." || exit 1
[ "$(id -u)" = 0 ] || { echo "FAIL: needs root (mmdebstrap, mount, chroot)"; exit 1; }
failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# A step the others need: on failure, the end of its log and out.
fatal() { echo "FAIL: $1"; tail -n 30 "$2" | sed 's/^/  /'; exit 1; }

work=$(mktemp -d -p "${TMPDIR:-/var/tmp}" fresh-debian.XXXXXX)
root=$work/root
cleanup() {
  # What still runs in the root (a display, the tool) holds its mounts.
  local process
  for process in /proc/[0-9]*; do
    [ "$(readlink "$process/root" 2> /dev/null)" = "$root" ] && kill -9 "${process#/proc/}" 2> /dev/null
  done
  for mounted in dev sys proc; do
    mountpoint -q "$root/$mounted" && umount -R "$root/$mounted"
  done
  # Never through a mount still in place: that would be the host's /dev or /sys.
  if grep -qF " $root/" /proc/self/mounts; then
    echo "FAIL: mounts under $root remain; $work is left in place"
  else
    rm -rf --one-file-system "$work"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM
in_root() {
  chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"
}

mmdebstrap --variant=apt --components=main bookworm "$root" "deb $mirror bookworm main" \
  "deb $mirror bookworm-updates main" "deb $security bookworm-security main" > "$work/mmdebstrap.log" 2>&1 ||
  fatal "mmdebstrap could not make a bookworm root" "$work/mmdebstrap.log"
if ! { mount -t proc proc "$root/proc" && mount --rbind /sys "$root/sys" && mount --make-rslave "$root/sys" &&
  mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev"; }; then
  echo "FAIL: could not mount /proc, /sys and /dev in the root"
  exit 1
fi
cp /etc/resolv.conf "$root/etc/"
# No daemon started from the root's packages (the usual guard of a chroot).
printf '#!/bin/sh\nexit 101\n' > "$root/usr/sbin/policy-rc.d" && chmod 755 "$root/usr/sbin/policy-rc.d"
fonts=$(find "$root/usr/share/fonts" -type f 2> /dev/null | wc -l)
if [ "$fonts" = 0 ]; then pass "the fresh root has no font"; else fail "the fresh root already has $fonts font files"; fi

cp "$deb" "$root/tmp/"
in_root apt-get update > "$work/install.log" 2>&1 || fatal "apt-get update failed" "$work/install.log"
in_root apt-get install -y "./tmp/$(basename "$deb")" >> "$work/install.log" 2>&1 ||
  fatal "apt-get install ./$(basename "$deb") failed" "$work/install.log"
pass "apt-get install ./$(basename "$deb"): $(grep -oE '[0-9]+ newly installed' "$work/install.log")"

# Each script's font must come from a package named in the .deb's own Depends: a font brought by a
# Recommends would be missing for those who install without them.
depends=$(dpkg-deb --field "$deb" Depends | tr ',|' '\n\n' | awk '{ sub(/:.*/, "", $1); print $1 }' | sort -u)
in_root sh -c 'command -v fc-list' > /dev/null || fail "the package brings no fc-list (fontconfig)"
for query in :lang=ko:Korean :lang=th:Thai :lang=he:Hebrew :lang=ar:Arabic :lang=hi:Devanagari \
  :lang=ja:Japanese ":charset=1f697:U+1F697 (emoji)"; do
  pattern=${query%:*}
  what=${query#"$pattern":}
  providers=$(in_root sh -c 'fc-list "$1" file | sed "s/: *$//" | xargs -r -d "\n" dpkg -S 2> /dev/null' _ "$pattern" |
    cut -d: -f1 | tr ',' '\n' | tr -d ' ' | sort -u)
  ours=$(comm -12 <(echo "$providers") <(echo "$depends") | grep . | tr '\n' ' ')
  if [ -z "$providers" ]; then
    fail "no font for $what: fc-list '$pattern' finds none after installing the package"
  elif [ -z "$ours" ]; then
    fail "$what only from $(tr '\n' ' ' <<< "$providers"), which the package does not depend on"
  else
    pass "a font for $what ($pattern) from ${ours% }"
  fi
done

# The tooling of status_glyphs.sh and man, without recommends: it must bring no font of its own.
in_root dpkg-query -W -f='${Package}\n' | sort > "$work/packages-before"
in_root fc-list : file | sort > "$work/fonts-before"
in_root apt-get install -y --no-install-recommends xvfb xdotool x11-utils imagemagick pango1.0-tools man-db \
  > "$work/tooling.log" 2>&1 || fatal "installing the test tooling failed" "$work/tooling.log"
in_root dpkg-query -W -f='${Package}\n' | sort > "$work/packages-after"
in_root fc-list : file | sort > "$work/fonts-after"
added_fonts=$(comm -13 "$work/packages-before" "$work/packages-after" | grep '^fonts-' | tr '\n' ' ')
if [ -n "$added_fonts" ] || ! cmp -s "$work/fonts-before" "$work/fonts-after"; then
  fail "the test tooling added fonts: ${added_fonts}$(comm -13 "$work/fonts-before" "$work/fonts-after" | tr '\n' ' ')"
else
  pass "the test tooling ($(comm -13 "$work/packages-before" "$work/packages-after" | wc -l) packages) added no font"
fi

# status_glyphs.sh unchanged, with what it sources, in the layout of the source tree; run as
# tests/platform/CMakeLists.txt runs it. No sound device in a chroot: OpenAL's null one.
# In the foreground, so that Ctrl+C reaches it; what it leaves running, cleanup kills.
tests=$root/tmp/morvane-tests
mkdir -p "$tests/tests/platform" "$tests/out"
cp tests/wine_folders.sh "$tests/tests/"
cp tests/platform/{private_display,status_glyphs,tool_program}.sh "$tests/tests/platform/"
status=0
timeout --foreground 1200 chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root ALSOFT_DRIVERS=null \
  bash /tmp/morvane-tests/tests/platform/private_display.sh /tmp/morvane-tests/tests/platform/status_glyphs.sh \
  /tmp/morvane-tests/out /usr/share/morvane-radio-tuner/samples/demo_track.sab /usr/bin/morvane-radio-tuner \
  > "$work/status_glyphs.log" 2>&1 || status=$?
if [ "$status" = 0 ] && tail -n 1 "$work/status_glyphs.log" | grep -qx PASS; then
  pass "status_glyphs.sh against /usr/bin/morvane-radio-tuner ($(grep -c ' alike ' "$work/status_glyphs.log") layouts compared)"
else
  fail "status_glyphs.sh against /usr/bin/morvane-radio-tuner (exit $status; 77 is a skip):"
  sed 's/^/  /' "$work/status_glyphs.log"
fi

if in_root /usr/bin/morvane-radio-tuner --help > "$work/help.txt" 2> "$work/help-errors.txt" &&
  grep -q '^Usage' "$work/help.txt" && [ ! -s "$work/help-errors.txt" ]; then
  pass "--help"
else
  fail "--help: $(cat "$work/help.txt" "$work/help-errors.txt")"
fi
page=/usr/share/man/man1/morvane-radio-tuner.1.gz
if in_root env MANWIDTH=80 man --warnings -l "$page" > /dev/null 2> "$work/man.txt" && [ ! -s "$work/man.txt" ]; then
  pass "man --warnings -l $page"
else
  fail "man --warnings -l $page: $(cat "$work/man.txt")"
fi

# What dpkg -L lists other than directories must be gone after the purge.
in_root sh -c 'dpkg -L morvane-radio-tuner | while read -r p; do [ -d "$p" ] && [ ! -L "$p" ] || echo "$p"; done' \
  > "$work/files"
if ! in_root apt-get remove --purge -y morvane-radio-tuner > "$work/purge.log" 2>&1; then
  fail "apt-get remove --purge morvane-radio-tuner failed: $(tail -n 5 "$work/purge.log")"
else
  left=$(in_root sh -c 'while read -r p; do [ -e "$p" ] || [ -L "$p" ] && echo "$p"; done; true' < "$work/files")
  if [ ! -s "$work/files" ]; then
    fail "dpkg -L listed no file before the purge"
  elif [ -n "$left" ]; then
    fail "the purge left files dpkg -L listed: $(tr '\n' ' ' <<< "$left")"
  else
    pass "apt-get remove --purge removed all $(wc -l < "$work/files") files dpkg -L listed"
  fi
fi
[ "$failures" = 0 ] && echo PASS
