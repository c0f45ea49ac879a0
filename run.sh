#!/usr/bin/env bash
# Builds and runs the program on its embedded default: two private MariaDB servers
# (the store's local database with demo data, the network's central database) and
# stand-ins for the web services.   ./run.sh [OPERATOR NAME]   |   ./run.sh stop
set -euo pipefail
source "$(dirname "$0")/scripts/env.sh"
DATA=$ROOT/.dbdata
LOCAL_PORT=${CAD_LOCAL_PORT:-33061}
CENTRAL_PORT=${CAD_CENTRAL_PORT:-33062}

if [ "${1:-}" = stop ]; then
    [ -x "$ROOT/standins/stop.sh" ] && "$ROOT/standins/stop.sh" "$DATA/standins" || true
    "$ROOT/scripts/dbserver.sh" stop "$DATA/local"
    "$ROOT/scripts/dbserver.sh" stop "$DATA/central"
    exit 0
fi

build_project cadastro-fornecedor # only the program: the tests are built by ./test.sh
prepare_demo "$DATA" "$LOCAL_PORT" "$CENTRAL_PORT"

echo "Servers stay up for the next run; './run.sh stop' stops them."
operator=${*:-OPERADOR DEMO}
exec "$BUILD/bin/cadastro-fornecedor" "$operator" # one argument: no word splitting, no "*" expanded
