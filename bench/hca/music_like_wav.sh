# Sourced by the codec benchmarks: music_like_wav <minutes> <file> writes a 48 kHz stereo 16-bit WAV of
# two tones with tremolo plus some noise, the same source every benchmark uses.
music_like_wav() {
  ffmpeg -nostdin -v error -y -f lavfi \
    -i "aevalsrc=0.3*sin(2*PI*220*t)*(1+0.3*sin(2*PI*3*t))+0.1*sin(2*PI*1760*t)|0.3*sin(2*PI*330*t)+0.05*(random(0)-0.5):s=48000:d=$(($1 * 60))" \
    -c:a pcm_s16le "$2"
}

# best_time <runs> <command...>: the smallest CPU seconds (user + sys) and wall seconds over the runs.
best_time() {
  local runs=$1 best_cpu="" best_wall="" user sys wall cpu
  shift
  for _ in $(seq "$runs"); do
    sync
    /usr/bin/time -o "$work/time.txt" -f "%U %S %e" "$@" > /dev/null 2>&1
    read -r user sys wall < "$work/time.txt"
    cpu=$(echo "$user + $sys" | bc -l)
    if [[ -z "$best_cpu" ]] || (($(echo "$cpu < $best_cpu" | bc -l))); then best_cpu=$cpu; fi
    if [[ -z "$best_wall" ]] || (($(echo "$wall < $best_wall" | bc -l))); then best_wall=$wall; fi
  done
  echo "$best_cpu $best_wall"
}
