#!/usr/bin/env bash
# Measures what Quillet costs, under the same Wine as the tests, side by side with the floor it is
# compared against, and prints the figures, their medians and the ratios to the goals.
#   scripts/bench.sh [RUNS [--only 1,2,3,4,5]]   RUNS of each measurement (default 5; at most 3 of
#                                               the long conversions); --only picks measurements
set -euo pipefail
source "$(dirname "$0")/lib.sh"

setup_machine
build_quillet -DQUILLET_TESTS=ON
start_wine_session no
trap stop_wine_session EXIT
python3 "$QUILLET_ROOT/scripts/bench.py" --build "$QUILLET_BUILD" --ffmpeg "$FFMPEG_EXE" --runs "${1:-5}" "${@:2}"
