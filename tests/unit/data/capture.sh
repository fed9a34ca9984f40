#!/usr/bin/env bash
# Captures what ffmpeg writes to its error stream when Quillet runs it on a 5-second video, a
# 5-second audio-only file, a corrupt file and a file that is not there, for the unit tests: the
# Windows ffmpeg.exe 4.1 that the tests use (ffmpeg_*.txt), and Debian's own ffmpeg 5.1, whose
# messages are those of its Windows builds (ffmpeg5_*.txt). A capture that exists is kept: the 4.1
# ones of the video and the audio file were taken under an emulated Wine, slow enough for several
# progress lines. Run inside a Wine session (scripts/lib.sh's start_wine_session), with FFMPEG_EXE set.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ffmpeg -v error -f lavfi -i testsrc=size=160x120:rate=15:duration=5 -f lavfi -i sine=duration=5 -shortest "$work/video.mp4"
ffmpeg -v error -f lavfi -i sine=duration=5 "$work/audio.wav"
head -c 4096 /dev/urandom >"$work/corrupt.avi"
for name in video.mp4 audio.wav corrupt.avi missing.avi; do
  capture="$here/ffmpeg_${name%.*}.txt"
  [ -e "$capture" ] || wine "$FFMPEG_EXE" -y -i "$(winepath -w "$work/$name")" -f mp3 \
    "$(winepath -w "$work/${name%.*}.mp3.part")" 2>"$capture" </dev/null || true
  capture="$here/ffmpeg5_${name%.*}.txt"
  [ -e "$capture" ] || ffmpeg -y -i "$work/$name" -f mp3 "$work/${name%.*}.mp3.part" 2>"$capture" </dev/null || true
done
