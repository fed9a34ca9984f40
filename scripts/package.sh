#!/usr/bin/env bash
# Builds the release package, build/Quillet-<version>-win32.zip: Quillet.exe, a README for users
# and the licence. The version is the one that CMakeLists.txt names.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

install_packages
build_quillet -DQUILLET_TESTS=OFF
ls "$QUILLET_BUILD"/Quillet-*-win32.zip
