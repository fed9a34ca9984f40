#!/usr/bin/env bash
# Builds Quillet and its tests, then runs every test under Wine on a virtual display, in a fresh
# Wine prefix of this run's own. Extra arguments go to ctest (-R window, -V, ...).
set -euo pipefail
source "$(dirname "$0")/lib.sh"

setup_machine
build_quillet -DQUILLET_TESTS=ON
start_wine_session no
trap stop_wine_session EXIT

cd "$QUILLET_BUILD"
QUILLET_FFMPEG_EXE="$FFMPEG_EXE" ctest --output-on-failure "$@"
