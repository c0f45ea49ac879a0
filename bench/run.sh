#!/usr/bin/env bash
# Builds the benchmark command, starts a private server of its own (data in the build folder,
# git-ignored), fills it with N generated suppliers when it holds another number, runs the
# benchmarks and stops the server, also on failure.
#   bench/run.sh [--suppliers N] [NAME [args]...]   (default: supplier-list, startup, search-name, search-all,
#   duplicate-check)
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
N=100000
if [ "${1:-}" = "--suppliers" ]; then N=$2; shift 2; fi
DATA=$BUILD/benchdata
PORT=${CAD_BENCH_PORT:-33291}

"$ROOT/scripts/deps.sh"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$BUILD" --target cadastro-bench -j"$(nproc)"

trap '"$ROOT/scripts/dbserver.sh" stop "$DATA"' EXIT
"$ROOT/scripts/provision.sh" local "$DATA" "$PORT" loja
"$ROOT/scripts/provision.sh" central "$DATA" "$PORT" rede
sql() { mariadb --no-defaults --socket="$DATA/mariadbd.sock" -uroot --default-character-set=utf8mb4 "$@"; }
if [ "$(sql -N loja -e 'SELECT COUNT(*) FROM Uf')" = 0 ]; then
    python3 "$ROOT/schema/demo_data.py" --reference-only | sql loja
fi
if [ "$(sql -N loja -e 'SELECT COUNT(*) FROM fornecedor')" != "$N" ]; then
    echo "Filling the bench server with $N suppliers..."
    sql loja -e 'TRUNCATE fornecedor'
    python3 "$ROOT/schema/demo_data.py" --suppliers "$N" --suppliers-only --no-invoices | sql loja
fi

export CAD_BENCH_PORT=$PORT CAD_BENCH_PASSWORD=$(cat "$DATA/password")
export CAD_BENCH_LOCAL_DB=loja CAD_BENCH_CENTRAL_DB=rede QT_QPA_PLATFORM=offscreen
if [ $# -gt 0 ]; then
    "$BUILD/bin/cadastro-bench" "$@"
else
    status=0
    "$BUILD/bin/cadastro-bench" supplier-list || status=1
    "$BUILD/bin/cadastro-bench" startup || status=1
    "$BUILD/bin/cadastro-bench" search-name || status=1
    "$BUILD/bin/cadastro-bench" search-all || status=1
    "$BUILD/bin/cadastro-bench" duplicate-check || status=1
    exit $status
fi
