#!/usr/bin/env bash
# Installs the Debian packages the project needs (or those named as arguments), only those missing.
set -euo pipefail
packages=("$@")
[[ $# -gt 0 ]] || packages=(cmake ninja-build g++ clang pkg-config libsdl2-dev libopenal-dev libopenal1 libvorbis-dev libogg-dev
  libpng-dev zlib1g-dev libfreetype-dev libfontconfig-dev libharfbuzz-dev libfribidi-dev fonts-open-sans libgtk-3-dev libmspack-dev gcab
  fonts-dejavu-core fonts-noto-cjk fonts-tlwg-loma-otf fonts-lohit-deva fonts-symbola pango1.0-tools
  libgtest-dev libgmock-dev libbenchmark-dev ffmpeg coreutils xvfb xdotool openbox imagemagick x11-utils locales
  dpkg-dev debhelper desktop-file-utils appstream shared-mime-info util-linux passwd time man-db bash-completion)
missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0
echo "installing: ${missing[*]}"
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
# apt_get ARGUMENT...: apt-get, which fails at once while another package manager holds its lock: that
# one is waited for instead, up to MORVANE_APT_WAIT seconds (default 900), trying every
# MORVANE_APT_RETRY seconds (default 5).
apt_get() {
  local limit=${MORVANE_APT_WAIT:-900} pause=${MORVANE_APT_RETRY:-5} start=$SECONDS said= errors status
  errors=$(mktemp)
  while true; do
    status=0
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "$@" 2> "$errors" || status=$?
    if [[ $status -eq 0 ]] || ! grep -q "Could not get lock\|Unable to acquire the dpkg frontend lock\|Unable to lock directory" "$errors"; then
      break
    fi
    if (( SECONDS - start >= limit )); then
      echo "install-deps: another package manager still holds apt's lock after ${limit} s; giving up" >&2
      break
    fi
    [[ -n $said ]] || echo "install-deps: another package manager holds apt's lock; waiting for it (up to ${limit} s)" >&2
    said=yes
    sleep "$pause"
  done
  cat "$errors" >&2
  rm -f "$errors"
  return $status
}
apt_get update -q
apt_get install -y -q --no-install-recommends "${missing[@]}"
