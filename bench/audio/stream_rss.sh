#!/bin/sh
# Resident memory while a 10-minute and a 10-second track play as streams: the two should match,
# since a stream holds two buffers of decoded audio whatever the track's length.
# Usage: bench/audio/stream_rss.sh <build dir> [seconds of playback, default 10]
set -eu
build=${1:?build directory}
seconds=${2:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for length in 10 600; do
    ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "sine=frequency=440:duration=$length" \
        -ac 2 -c:a libvorbis "$work/track_${length}s.ogg"
done
# The null backend mixes in real time like a sound card, without needing one.
export ALSOFT_DRIVERS=null
for length in 10 600; do
    "$build/bin/audio_stream_rss" "$work" "track_${length}s.ogg" "$seconds"
done
