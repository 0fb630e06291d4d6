#!/usr/bin/env bash
# Installs the Debian packages the project needs (or those named as arguments), only those missing.
set -euo pipefail
packages=("$@")
[[ $# -gt 0 ]] || packages=(cmake ninja-build g++ clang pkg-config libsdl2-dev libopenal-dev libopenal1 libvorbis-dev libogg-dev
  libpng-dev zlib1g-dev libfreetype-dev libfontconfig-dev fonts-open-sans fonts-dejavu-core fonts-droid-fallback libgtk-3-dev libmspack-dev gcab
  libgtest-dev libgmock-dev libbenchmark-dev ffmpeg coreutils xvfb xdotool openbox imagemagick x11-utils locales
  dpkg-dev desktop-file-utils appstream shared-mime-info util-linux passwd time)
missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0
echo "installing: ${missing[*]}"
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
