#!/usr/bin/env bash
# Builds the program and its Debian package into BUILD/package; prints the package's path.
#   scripts/package.sh   then, on the store's machine:   sudo apt install ./cadastro-fornecedor_*.deb
set -euo pipefail
source "$(dirname "$0")/env.sh"
build_project cadastro-fornecedor
rm -rf "$BUILD/package"
cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$BUILD/package" >/dev/null
ls "$BUILD"/package/*.deb
