#!/usr/bin/env bash
# Prints the folder of the built Windows dependencies, building them first unless the cache holds a
# build of exactly these sources with exactly these scripts and this compiler.
#   deps.sh          (cache: $MORVANE_WIN_CACHE, else ~/.cache/morvane-radio-tuner/windows)
set -euo pipefail
here=$(dirname "$(realpath "$0")")
cache=${MORVANE_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/morvane-radio-tuner/windows}
mkdir -p "$cache"
exec 9>"$cache/lock"
flock 9 # one build at a time; a second caller then finds it done
# Sources are fetched once per package list (again with MORVANE_WIN_REFETCH=1), so a warm build needs
# no network.
if ! cmp -s "$here/sources.list" "$cache/sources/sources.list" || [[ -n ${MORVANE_WIN_REFETCH:-} ]]; then
  "$here/fetch-sources.sh" "$cache/sources" >&2
  cp "$here/sources.list" "$cache/sources/sources.list"
fi
key=$( (cat "$cache/sources/sources.sha256" "$here"/build-deps.sh "$here"/mingw-w64-x86_64.cmake \
  "$here"/mingw-static-rules.cmake "$here"/sources.list "$here"/patches/*
  x86_64-w64-mingw32-g++-posix --version) | sha256sum | cut -c1-16)
prefix=$cache/deps-$key
if [[ ! -f $prefix/complete ]]; then
  echo "building the Windows dependencies into $prefix (logs in $prefix.work/logs)" >&2
  rm -rf "$prefix"
  start=$(date +%s)
  JOBS=${JOBS:-$(nproc)} nice -n 10 "$here/build-deps.sh" "$cache/sources/tarballs" "$prefix" >&2
  echo "built in $(($(date +%s) - start)) s" > "$prefix/complete"
fi
echo "$prefix"
