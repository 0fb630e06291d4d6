# Sourced by the real-window tests. tool_program PROGRAM...: PROGRAM is the executable, or a launcher
# and the Windows executable, run under Wine. Sets program (the command), exe, windows ("yes" or
# empty) and save_area, the tool's folder in APPDATA as a path here; call it after exporting APPDATA.
# native PATH prints a path as the program names it.
tool_program() {
    program=("$@")
    exe=${program[-1]}
    windows=$([[ "$exe" == *.exe ]] && echo yes || true)
    save_area=$APPDATA/Morvane_Radio_Tuner
    if [[ -n "$windows" ]]; then
        # Wine gives its programs the APPDATA of its prefix, whatever ours says.
        local launcher=("${program[@]:0:${#program[@]}-1}") roaming
        roaming=$("${launcher[@]}" cmd.exe /c 'echo %APPDATA%' | tr -d '\r')
        save_area=$("${launcher[@]}" winepath.exe -u "$roaming" | tr -d '\r')/Morvane_Radio_Tuner
        rm -rf "$save_area"
    fi
}

# Wine names our files through its drive Z:, which is /.
native() {
    if [[ -n "$windows" ]]; then printf 'Z:%s' "${1//\//\\}"; else printf '%s' "$1"; fi
}
