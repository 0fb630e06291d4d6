# Sourced by the real-window tests. tool_program PROGRAM...: PROGRAM is the executable, or a launcher
# and the Windows executable, run under Wine. Sets program (the command), exe, windows ("yes" or
# empty) and save_area, the tool's folder in APPDATA as a path here; call it after exporting APPDATA.
# native PATH prints a path as the program names it.
source "$(dirname "${BASH_SOURCE[0]}")/../wine_folders.sh"
tool_program() {
    program=("$@")
    exe=${program[-1]}
    windows=$([[ "$exe" == *.exe ]] && echo yes || true)
    save_area=$APPDATA/Morvane_Radio_Tuner
    if [[ -n "$windows" ]]; then
        local launcher=("${program[@]:0:${#program[@]}-1}")
        save_area=$(wine_unix_path "$(wine_folder APPDATA "${launcher[@]}")" "${launcher[@]}")/Morvane_Radio_Tuner
        # The prefix is shared by the tests: none starts with what another left, settings included.
        rm -rf "$save_area" "$(dirname "$save_area")/morvane-radio-tuner"
    fi
}

# Wine names our files through its drive Z:, which is /.
native() {
    if [[ -n "$windows" ]]; then printf 'Z:%s' "${1//\//\\}"; else printf '%s' "$1"; fi
}
