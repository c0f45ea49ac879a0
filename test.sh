#!/usr/bin/env bash
# Builds the project and passes every test against private servers started here with fresh data.
set -euo pipefail
source "$(dirname "$0")/scripts/env.sh"
DATA=$BUILD/testdata
LOCAL_PORT=${CAD_TEST_LOCAL_PORT:-33171}
CENTRAL_PORT=${CAD_TEST_CENTRAL_PORT:-33172}

build_project

cleanup() {
    "$ROOT/scripts/dbserver.sh" stop "$DATA/local" || true
    "$ROOT/scripts/dbserver.sh" stop "$DATA/central" || true
    "$ROOT/scripts/xserver.sh" stop "$DATA/x" || true
    "$ROOT/scripts/xserver.sh" stop "$DATA/xwide" || true
}
trap cleanup EXIT
cleanup
rm -rf "$DATA"
# Two X servers with a window manager for the tests on a real display (tests/desktop).
CAD_TEST_X_DISPLAY=$("$ROOT/scripts/xserver.sh" start "$DATA/x" 1366x768)
CAD_TEST_X_DISPLAY_WIDE=$("$ROOT/scripts/xserver.sh" start "$DATA/xwide" 1920x1080)
export CAD_TEST_X_DISPLAY CAD_TEST_X_DISPLAY_WIDE
"$ROOT/scripts/provision.sh" local "$DATA/local" "$LOCAL_PORT" loja
"$ROOT/scripts/provision.sh" central "$DATA/central" "$CENTRAL_PORT" rede

# Tests make databases of their own on these servers (see tests/support/TestDb.h).
export CAD_TEST_LOCAL_PORT=$LOCAL_PORT CAD_TEST_LOCAL_PASSWORD=$(cat "$DATA/local/password")
export CAD_TEST_CENTRAL_PORT=$CENTRAL_PORT CAD_TEST_CENTRAL_PASSWORD=$(cat "$DATA/central/password")
export CAD_SOURCE_DIR=$ROOT QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)" "$@"
