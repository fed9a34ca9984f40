#!/usr/bin/env bash
# Quillet's main job: builds it, then converts a video to MP3 with it under Wine, as a user would by
# passing the video on its command line. Shows the window on the current display (or a virtual one
# when there is none), waits for the end, prints the MP3's path and the window's final status line,
# and saves a screenshot of the window.
#   scripts/run.sh [VIDEO]    without VIDEO, a generated sample clip is converted
set -euo pipefail
source "$(dirname "$0")/lib.sh"

setup_machine
build_quillet -DQUILLET_TESTS=ON

program="$QUILLET_BUILD/program"
mkdir -p "$program"
cp "$QUILLET_BUILD/Quillet.exe" "$program/"
cp -u "$FFMPEG_EXE" "$program/ffmpeg.exe"

video=${1:-}
if [ -z "$video" ]; then
  video="$QUILLET_BUILD/sample/Sample clip.mp4"
  mkdir -p "$(dirname "$video")"
  log "making a sample clip: $video"
  ffmpeg -v error -y -f lavfi -i "testsrc=size=320x240:rate=25:duration=10" \
    -f lavfi -i "sine=frequency=440:duration=10" -shortest "$video"
fi
[ -e "$video" ] || die "no such video: $video"
video=$(realpath "$video")
name=$(basename "$video")
if [[ $name == *.* ]]; then mp3="${video%.*}.mp3"; else mp3="$video.mp3"; fi

start_wine_session yes
trap stop_wine_session EXIT
probe() { wine "$QUILLET_BUILD/tests/quillet_probe.exe" "$@"; }

log "converting $video"
wine "$program/Quillet.exe" "$(winepath -w "$video")" >/dev/null 2>&1 &
status=$(probe wait-done 1800) || die "Quillet did not finish within 30 minutes"

screenshot="$QUILLET_BUILD/quillet-screenshot.png"
rect=$(probe state | sed -n 's/^rect=//p')
IFS=, read -r left top width height <<<"$rect"
import -window root -crop "${width}x${height}+${left}+${top}" +repage "$screenshot"
probe close 60 >/dev/null || log "Quillet did not close"

echo "MP3: $mp3"
echo "Status: $status"
echo "Screenshot: $screenshot"
[ "$status" = "Conversion complete! To download videos from YouTube, click here to get Tovrandel" ] && [ -s "$mp3" ]
