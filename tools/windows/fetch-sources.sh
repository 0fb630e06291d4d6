#!/usr/bin/env bash
# Fetches the upstream tarballs of the packages in sources.list from Debian's source archive into DIR.
#   fetch-sources.sh DIR
# apt runs with a private source list and state folder, so the machine's own apt set-up is untouched;
# apt checks each file against the signed index (and the .dsc where the archive serves one).
set -euo pipefail
here=$(dirname "$(realpath "$0")")
dir=$(realpath -m "$1")
apt_dir=$dir/apt
rm -rf "$dir/tarballs"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$dir/tarballs"
printf 'deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian %s main\n' \
  bookworm trixie > "$apt_dir/sources.list"
apt_opts=(-q -o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o Dir::State::Status=/dev/null
  -o APT::Sandbox::User=root -o Debug::NoLocking=1)
apt-get "${apt_opts[@]}" update >/dev/null

mapfile -t packages < <(grep -v '^#' "$here/sources.list")
cd "$dir/tarballs"
for p in "${packages[@]}"; do
  name=${p%/*}
  # Some .dsc files are no longer served while their upstream tarball is: that tarball is enough.
  if ! apt-get "${apt_opts[@]}" source --download-only "$p" >/dev/null 2>&1; then
    apt-get "${apt_opts[@]}" source --print-uris "$p" | awk '$2 ~ /\.orig\.tar\./ {print $1, $2}' |
      while read -r url file; do [[ -f $file ]] || curl -fsSL -o "$file" "${url//\'/}"; done
  fi
  # Check every upstream tarball against the signed Sources index, whatever fetched it.
  for f in "${name}"_*.orig.tar.*; do
    [[ $f == *.asc ]] && continue
    want=$(apt-cache "${apt_opts[@]}" showsrc "$name" | awk -v f="$f" '/^Checksums-Sha256:/{s=1;next} /^[^ ]/{s=0} s && $3==f && !n++ {print $1}')
    [[ -n $want ]] || { echo "no checksum for $f in the index" >&2; exit 1; }
    echo "$want  $f" | sha256sum -c --quiet -
  done
done
rm -f ./*.dsc ./*.debian.tar.* ./*.diff.gz ./*.asc
sha256sum ./*.orig.tar.* | sort -k2 > "$dir/sources.sha256"
echo "fetched ${#packages[@]} source packages into $dir/tarballs"
