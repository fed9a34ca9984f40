#!/usr/bin/env bash
# Fuzzes the rules that need no Windows for longer than the test command does: each target runs
# SECONDS (default 600) in turn, keeping what it learns in build/fuzz/corpus_<target>.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
source "$(dirname "$0")/lib.sh"

install_packages
build_fuzzers -DFUZZ_SECONDS="${1:-600}"
ctest --test-dir "$QUILLET_BUILD/fuzz" --output-on-failure
