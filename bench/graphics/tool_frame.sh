#!/usr/bin/env bash
# Reports the CPU time to draw one frame of the tool's room: headless (software renderer) and in a
# real SDL window on a private Xvfb display. The frame budget at 60 frames a second is 16,667 us.
set -euo pipefail
build=${1:-build}
bench="$build/bin/graphics_bench"
[[ -x "$bench" ]] || cmake --build "$build" --target graphics_bench
echo "== headless (scripted platform, software renderer)"
env -u DISPLAY "$bench" --benchmark_filter=Scripted
if command -v xvfb-run >/dev/null; then
    echo "== desktop platform under Xvfb"
    xvfb-run -a -s "-screen 0 1024x768x24" "$bench" --benchmark_filter=Desktop
fi
