#!/usr/bin/env bash
# Pictures of what an operator sees, for the README: the program's own screens over the demo data
# (the servers and stand-ins of ./run.sh), driven by tools/screenshots on a private X server (Xvfb)
# with a light window manager (openbox).
#   scripts/screenshots.sh [OUTDIR]   (default docs/telas; the demo's servers stay up, as after ./run.sh)
set -euo pipefail
source "$(dirname "$0")/env.sh"
OUT=${1:-$ROOT/docs/telas}
DATA=$ROOT/.dbdata
export CAD_STANDIN_CAPTCHA=K7P2QX # every captcha image shows this text and accepts it

"$ROOT/scripts/deps.sh" --screenshots
build_project cadastro-screenshots
prepare_demo "$DATA" "${CAD_LOCAL_PORT:-33061}" "${CAD_CENTRAL_PORT:-33062}"
mkdir -p "$OUT"

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    "$ROOT/standins/stop.sh" "$DATA/standins"
    rm -rf "$work"
}
trap cleanup EXIT

# A display of its own: Xvfb picks a free number and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done

QT_QPA_PLATFORM=xcb QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu" \
    "$BUILD/bin/cadastro-screenshots" "$OUT"
