# Sourced by the real-window tests: starts Xvfb on a display number it picks itself and exports
# DISPLAY; xvfb_pid is left for the caller's cleanup. Fails, showing Xvfb's log, when it does not start.
start_private_display() {
    local folder=$1
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$folder/display" 2>"$folder/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s "$folder/display" ]] && break
        sleep 0.1
    done
    [[ -s "$folder/display" ]] || { cat "$folder/xvfb.log"; return 1; }
    export DISPLAY=":$(head -n1 "$folder/display")"
}
