# Sourced by the shell tests that run batch mode. `bin` is a Linux build's bin folder (the first
# argument), whose helpers make the test files; `program` the tool to run: $bin/morvane-radio-tuner, or
# the other arguments (the Windows build under Wine: `windows` is set). `work` is a folder removed at
# exit, `save_area` the tool's save area (in `work`; under Wine the one in its prefix's APPDATA, which
# Wine sets whatever ours says); no display; fail() counts failures.
set -uo pipefail
bin=$(cd "$1" && pwd)
shift
program=("$@")
windows=$([ $# -gt 0 ] && echo yes)
[ -n "$windows" ] || program=("$bin/morvane-radio-tuner")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export APPDATA=$work/appdata
save_area=$APPDATA/Morvane_Radio_Tuner
if [ -n "$windows" ]; then
  wine_run=("${program[@]:0:${#program[@]}-1}")
  source "$(dirname "${BASH_SOURCE[0]}")/../wine_folders.sh"
  save_area=$(wine_unix_path "$(wine_folder APPDATA "${wine_run[@]}")" "${wine_run[@]}")/Morvane_Radio_Tuner
fi
unset DISPLAY WAYLAND_DISPLAY
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
