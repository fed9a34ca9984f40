#!/usr/bin/env bash
# Measures what Quillet costs, under the same Wine as the tests, side by side with the floor it is
# compared against, and prints how it ran, the figures, their medians and the ratios to the goals.
#   scripts/bench.sh [RUNS [--only 1,2,3,4,5,6,7] [--startup-repeats N] [--twins]]
# RUNS of each measurement (default 5; at least 21 pairs for the start-up; at most 3 of the long
# conversions); --only picks measurements; --twins measures the start-up with the 64-bit twins even
# where 32-bit programs run natively.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

setup_machine
build_quillet -DQUILLET_TESTS=ON
mode=$(i386_mode)
twins=()
if [ "$mode" = emulated ] || [[ " $* " == *" --twins "* ]]; then
  build_twins
  # The twins run under Wine's 64-bit half, natively, in a 64-bit prefix of this run's own.
  twin_prefix=$(mktemp -d)
  cp -a "$(prefix_template root win64)" "$twin_prefix/prefix"
  twins=(--twins "$QUILLET_ROOT/build64" --twin-prefix "$twin_prefix/prefix" --wine64 "$WINE64")
fi
start_wine_session no
trap 'stop_wine_session; [ -n "${twin_prefix:-}" ] && WINEPREFIX="$twin_prefix/prefix" wineserver -k; rm -rf "${twin_prefix:-}"' EXIT
runs=${1:-5}
[ $# -gt 0 ] && shift
options=()
for option in "$@"; do [ "$option" = --twins ] || options+=("$option"); done
python3 "$QUILLET_ROOT/scripts/bench.py" --build "$QUILLET_BUILD" --ffmpeg "$FFMPEG_EXE" --runs "$runs" \
  --i386 "$mode" "${twins[@]}" "${options[@]}"
