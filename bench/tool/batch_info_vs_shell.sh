#!/usr/bin/env bash
# --info on 100 containers in one batch, against a shell loop of xxd | grep over the same files (the
# probe alone). Runs alternate, pair by pair; the median ratio is printed.
# Usage: bench/tool/batch_info_vs_shell.sh [build dir] [pairs]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
pairs=${2:-5}
bin=$build/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lib" "$work/c"
"$bin/morvane-cmd" "expand \"$bin/lib.win\" -f:* \"$work/lib\"" > /dev/null
for i in $(seq 100); do
  if (( i % 2 )); then cp "$bin/samples/demo_track.sab" "$work/c/$i.sab"; else cp "$bin/samples/demo_track.mab" "$work/c/$i.mab"; fi
done
files=("$work"/c/*)
now() { date +%s%N; }
batch() { APPDATA=$work/appdata "$bin/morvane-radio-tuner" --info "${files[@]}" > /dev/null 2>&1; }
shell() { for f in "${files[@]}"; do "$work/lib/xxd.exe" -u -l 2048 "$f" | grep -m1 -E "4843 4100|4F67 6753" > /dev/null || true; done; }
batch # fills the helper cache
for _ in $(seq "$pairs"); do
  t0=$(now); batch; t1=$(now); shell; t2=$(now)
  echo "$(( t1 - t0 )) $(( t2 - t1 ))"
done > "$work/pairs"
sort -g -k3 <(awk '{ print $1, $2, $1 / $2 }' "$work/pairs") | awk '{ a += $1; b += $2; r[NR] = $3 } END {
  printf "info on 100 containers: batch %.2f s, xxd | grep loop %.2f s (means); ratio median %.2f (%.2f to %.2f)\n",
  a / NR / 1e9, b / NR / 1e9, r[int((NR + 1) / 2)], r[1], r[NR] }'
