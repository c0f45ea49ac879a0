#!/usr/bin/env bash
# A pid file left by a server that is gone, whose number now belongs to another process, neither
# stops that process nor passes for a running server.
set -euo pipefail
script=$(cd "$(dirname "$0")/../.." && pwd)/scripts/dbserver.sh
dir=$(mktemp -d)
sleep 300 &
other=$!
trap 'kill "$other" 2>/dev/null || true; rm -rf "$dir"' EXIT
echo "$other" >"$dir/mariadbd.pid"

"$script" stop "$dir"
kill -0 "$other" || { echo "FAIL: stop ended an unrelated process"; exit 1; }
echo "not a number" >"$dir/mariadbd.pid"
"$script" stop "$dir"
echo PASS
