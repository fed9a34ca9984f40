#!/usr/bin/env bash
# Captures what the real Windows ffmpeg.exe writes to its error stream when Quillet runs it on a
# 5-second video, a 5-second audio-only file and a corrupt file, for the unit tests. Run inside a
# Wine session (scripts/lib.sh's start_wine_session), with FFMPEG_EXE set.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ffmpeg -v error -f lavfi -i testsrc=size=160x120:rate=15:duration=5 -f lavfi -i sine=duration=5 -shortest "$work/video.mp4"
ffmpeg -v error -f lavfi -i sine=duration=5 "$work/audio.wav"
head -c 4096 /dev/urandom >"$work/corrupt.avi"
for name in video.mp4 audio.wav corrupt.avi; do
  wine "$FFMPEG_EXE" -y -i "$(winepath -w "$work/$name")" "$(winepath -w "$work/${name%.*}.mp3")" \
    2>"$here/ffmpeg_${name%.*}.txt" </dev/null || true
done
