#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM [ARGUMENT...]: runs a cross-built Windows program under Wine, as CMake's
# emulator for tests and build steps. The Wine prefix (a folder in the build tree) is made once, under a
# lock, so parallel tests never race to create it.
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [[ ! -f $WINEPREFIX/.made ]]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [[ ! -f $WINEPREFIX/.made ]]; then
      wineboot -i >/dev/null 2>&1 && wineserver -w && touch "$WINEPREFIX/.made"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
