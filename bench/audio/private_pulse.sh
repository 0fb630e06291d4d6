#!/usr/bin/env bash
# Sourced by benchmarks that need a real sound server: start_private_pulse FOLDER starts a PulseAudio of
# its own (a null sink, suspended when idle as a desktop's is; a socket in FOLDER; no session bus),
# exports PULSE_SERVER for its clients and leaves pulse_pid for the caller's cleanup; it fails, showing
# the server's log, when none starts.
start_private_pulse() {
  local folder=$1
  command -v pulseaudio > /dev/null || { echo "pulseaudio is not installed (apt-get install pulseaudio)"; return 1; }
  mkdir -p "$folder/pulse"
  HOME=$folder/pulse PULSE_RUNTIME_PATH=$folder/pulse XDG_RUNTIME_DIR=$folder/pulse \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    --log-target="file:$folder/pulse/log" -L module-null-sink -L module-suspend-on-idle \
    -L "module-native-protocol-unix socket=$folder/pulse/socket auth-anonymous=1" &
  pulse_pid=$!
  export PULSE_SERVER=unix:$folder/pulse/socket
  for _ in $(seq 50); do
    pactl info > /dev/null 2>&1 && return 0
    sleep 0.1
  done
  cat "$folder/pulse/log"
  return 1
}
