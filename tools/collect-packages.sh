#!/bin/sh
# Moves what dpkg-buildpackage left beside the checkout (the .deb files, .buildinfo and .changes named in
# debian/files) into the folder given, so that checkouts side by side do not take each other's.
set -eu
out=${1:?usage: collect-packages.sh FOLDER}
mkdir -p "$out"
changes=$(dpkg-parsechangelog -SSource)_$(dpkg-parsechangelog -SVersion)_$(dpkg-architecture -qDEB_HOST_ARCH).changes
for file in $(cut -d' ' -f1 debian/files) "$changes"; do
    mv -f "../$file" "$out/"
    echo "$out/$file"
done
