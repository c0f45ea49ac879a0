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

build_project
"$ROOT/scripts/provision.sh" local "$DATA/local" "$LOCAL_PORT" loja --demo
"$ROOT/scripts/provision.sh" central "$DATA/central" "$CENTRAL_PORT" rede
if [ -x "$ROOT/standins/start.sh" ]; then
    "$ROOT/standins/start.sh" "$DATA/standins" "$BUILD/bin"
fi
write_admin_ini "$BUILD/bin/Admin.ini" "$LOCAL_PORT" loja "$(cat "$DATA/local/password")" \
    "$CENTRAL_PORT" rede "$(cat "$DATA/central/password")"
# The stand-ins' addresses for the services configured through Admin.ini.
if [ -f "$BUILD/bin/CadServicos.ini" ]; then
    cat "$BUILD/bin/CadServicos.ini" >>"$BUILD/bin/Admin.ini"
fi

echo "Servers stay up for the next run; './run.sh stop' stops them."
operator=${*:-OPERADOR DEMO}
exec "$BUILD/bin/cadastro-fornecedor" "$operator" # one argument: no word splitting, no "*" expanded
