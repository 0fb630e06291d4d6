# Sourced by the shell tests that run batch mode: `bin` is the build's bin folder (the first argument),
# `work` a folder removed at exit with the save area inside it, no display, and fail() counts failures.
set -uo pipefail
bin=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export APPDATA=$work/appdata
unset DISPLAY WAYLAND_DISPLAY
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
