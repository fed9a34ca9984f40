#!/usr/bin/env bash
# Builds the release: build/Quillet-<version>-win32.zip (Quillet.exe, a README for users and the
# licence) and build/Quillet-<version>-win32.msi (the same, installed for one user). The version is
# the one that CMakeLists.txt names. With QUILLET_SIGN_CERT and QUILLET_SIGN_KEY naming a code-signing
# certificate and its key (PEM), Quillet.exe and the installer are signed; without, nothing is.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

install_packages
build_quillet -DQUILLET_TESTS=OFF
if [ -n "${QUILLET_SIGN_CERT:-}" ] && [ -n "${QUILLET_SIGN_KEY:-}" ]; then
  version=$(sed -n 's/^project(Quillet VERSION \([0-9.]*\).*/\1/p' "$QUILLET_ROOT/CMakeLists.txt")
  log "signing with $QUILLET_SIGN_CERT"
  python3 "$QUILLET_ROOT/packaging/make_release.py" --version "$version" --exe "$QUILLET_BUILD/Quillet.exe" \
    --icon "$QUILLET_ROOT/resources/abc.ico" --readme "$QUILLET_ROOT/packaging/README.txt" \
    --license "$QUILLET_ROOT/LICENSE" --out-dir "$QUILLET_BUILD" \
    --sign-cert "$QUILLET_SIGN_CERT" --sign-key "$QUILLET_SIGN_KEY"
fi
ls "$QUILLET_BUILD"/Quillet-*-win32.zip "$QUILLET_BUILD"/Quillet-*-win32.msi
