#!/usr/bin/env bash
# Installs the build into a throw-away DESTDIR and checks what ships; validates the desktop entry, the
# MIME types and the AppStream metadata; starts the installed launcher under Xvfb as an unprivileged user
# with a read-only install and a container named on the command line. (The Debian package is checked by
# tests/packaging/package_check.sh.) Exit 77 (skipped) when something needed is missing.
set -euo pipefail

build=${1:?usage: installed_tool.sh <build folder>}
skip() {
    echo "SKIP: $*"
    exit 77
}
fail() {
    echo "FAIL: $*"
    [[ -f "${work:-}/tool.log" ]] && cat "$work/tool.log"
    exit 1
}
for tool in Xvfb xdotool desktop-file-validate appstreamcli update-mime-database setpriv; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done

work=$(mktemp -d)
chmod 755 "$work"
xvfb_pid="" tool_pid="" user=""
cleanup() {
    set +e
    [[ -n "$tool_pid" ]] && kill -9 "$tool_pid" 2>/dev/null && wait "$tool_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    [[ -n "$user" ]] && userdel "$user" 2>/dev/null
    chmod -R u+w "$work" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# What ships, relative to the root of the file system; nothing else (no test or build-time program).
sizes=(16 24 32 48 64 128 256)
# zsh's folder follows the prefix the build was configured for: Debian's zsh reads packages' own.
zsh_completions=site-functions
grep -qx "CMAKE_INSTALL_PREFIX:PATH=/usr" "$build/CMakeCache.txt" && zsh_completions=vendor-completions
id=io.github.morvane_radio_tuner.tuner
shipped() {
    {
        printf '%s\n' usr/bin/morvane-radio-tuner usr/lib/morvane-radio-tuner/{morvane-radio-tuner,tuner.dll,morvane-cmd,lib.win} \
            usr/share/morvane-radio-tuner/samples/demo_track.{sab,mab} usr/share/applications/$id.desktop \
            usr/share/mime/packages/$id.xml usr/share/metainfo/$id.metainfo.xml usr/share/man/man1/morvane-radio-tuner.1 \
            usr/share/bash-completion/completions/morvane-radio-tuner usr/share/zsh/$zsh_completions/_morvane-radio-tuner
        printf "usr/share/icons/hicolor/%sx%s/apps/$id.png\\n" $(printf '%s\n' "${sizes[@]}" | sed 's/.*/& &/')
    } | sort
}

root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log" || fail "cmake --install failed"
diff <(shipped) <(cd "$root" && find . -type f | sed 's|^\./||' | sort) || fail "the installed files differ from the list above"

share="$root/usr/share"
desktop-file-validate "$share/applications/$id.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --pedantic --no-net "$share"/metainfo/*.metainfo.xml || fail "the AppStream metadata is not valid"
# The desktop entry opens exactly the types that the MIME definitions give our two extensions.
mkdir -p "$work/mime/packages"
cp "$share/mime/packages/$id.xml" "$work/mime/packages/"
update-mime-database "$work/mime" 2>/dev/null
globbed=$(grep -E ':\*\.(sab|mab)$' "$work/mime/globs2" | cut -d: -f2 | sort | paste -sd';')
opened=$(sed -n 's/^MimeType=//p' "$share/applications/$id.desktop" | tr ';' '\n' | sed '/^$/d' | sort | paste -sd';')
[[ -n "$globbed" && "$globbed" == "$opened" ]] || fail "MIME types of *.sab/*.mab ($globbed) differ from the desktop entry's ($opened)"

# An ordinary user; root makes one, anyone else is one already. The install is read-only to it.
chmod -R a-w "$root"
home="$work/home"
run_as=()
if [[ $(id -u) -eq 0 ]]; then
    command -v useradd >/dev/null || skip "useradd is not installed, so no unprivileged user can be made"
    user="mrt$$"
    useradd --home-dir "$home" --create-home --shell /usr/sbin/nologin --user-group "$user" ||
        skip "no unprivileged user could be made"
    run_as=(setpriv --reuid="$user" --regid="$user" --init-groups)
else
    mkdir "$home"
fi
"${run_as[@]}" touch "$root/usr/lib/morvane-radio-tuner/probe" 2>/dev/null && fail "the user can write to the install"

samples="$share/morvane-radio-tuner/samples"
# Replaces the shell it runs in (so the tool keeps its pid): call it in a subshell.
as_user() {
    exec "${run_as[@]}" env -i HOME="$home" PATH=/usr/bin:/bin DISPLAY="${DISPLAY:-}" ALSOFT_DRIVERS=null "$@"
}
info=$(as_user "$root/usr/bin/morvane-radio-tuner" --info "$samples/demo_track.sab" 2>"$work/tool.log") ||
    fail "batch mode through the launcher failed"
[[ "$info" == *$'\thca\t576\t'* ]] || fail "batch mode through the launcher told: $info"

source "$(dirname "$0")/../platform/private_display.sh"
start_private_display "$work" || fail "Xvfb did not start"

# Started from the samples folder with a relative name, as a terminal user would.
(cd "$samples" && as_user "$root/usr/bin/morvane-radio-tuner" demo_track.sab) >"$work/tool.log" 2>&1 &
tool_pid=$!
area="$home/.local/share/Morvane_Radio_Tuner"
wait_for() {
    for _ in $(seq 600); do
        eval "$1" && return 0
        kill -0 "$tool_pid" 2>/dev/null || fail "the tool exited"
        sleep 0.1
    done
    fail "$2"
}
wait_for '[[ -n $(xdotool search --onlyvisible --pid "$tool_pid" 2>/dev/null) ]]' "no window appeared"
echo "window up"
# An HCA import needs every helper program, so its preview shows that they were unpacked.
wait_for '[[ -f "$area/lib/stream.ogg" ]]' "the container on the command line was not imported"
[[ -e "$area/program/temp.dat" ]] && fail "the unpack marker was left behind"
grep -qF "dd.exe if=\"$samples/demo_track.sab\"" "$area/shell.log" || fail "the import did not read the full path"
echo "unpacked and imported in $area"

echo "PASS"
