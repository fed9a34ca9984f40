#!/usr/bin/env bash
# Builds Quillet and its tests, then runs every test under Wine on a virtual display, in a fresh
# Wine prefix of this run's own, builds the program and its release a second time to see the same
# bytes, and fuzzes the rules that need no Windows for a short while.
# Extra arguments go to both ctest runs (-R window, -V, ...).
set -euo pipefail
source "$(dirname "$0")/lib.sh"

setup_machine
build_quillet -DQUILLET_TESTS=ON
start_wine_session no
trap stop_wine_session EXIT
start_test_user_session

QUILLET_FFMPEG_EXE="$FFMPEG_EXE" QUILLET_FFMPEG64_EXE="$FFMPEG64_EXE" QUILLET_WINE64="$WINE64" ctest --test-dir "$QUILLET_BUILD" --output-on-failure "$@"
check_reproducible

build_fuzzers -DFUZZ_SECONDS=10
ctest --test-dir "$QUILLET_BUILD/fuzz" --output-on-failure "$@"
