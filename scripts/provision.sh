#!/usr/bin/env bash
# Starts a private server and makes sure its account, database and tables exist.
#   provision.sh local|central DATADIR PORT DATABASE [--demo]
# The account's password is generated once and kept in DATADIR/password (never in the sources).
set -euo pipefail
role=$1; dir=$2; port=$3; db=$4; demo=${5:-}
here=$(cd "$(dirname "$0")/.." && pwd)

"$here/scripts/dbserver.sh" start "$dir" "$port"
[ -f "$dir/password" ] || openssl rand -hex 12 >"$dir/password"
pw=$(cat "$dir/password")
sql() { mariadb --no-defaults --socket="$dir/mariadbd.sock" -uroot --default-character-set=utf8mb4 "$@"; }

case "$role" in
local) user=root; schema="$here/schema/local.sql" ;;
central) user=parvixsistemasinfo; schema="$here/schema/central.sql" ;;
*) echo "role must be local or central" >&2; exit 2 ;;
esac

sql <<SQL
CREATE USER IF NOT EXISTS '$user'@'127.0.0.1' IDENTIFIED BY '$pw';
ALTER USER '$user'@'127.0.0.1' IDENTIFIED BY '$pw';
GRANT ALL PRIVILEGES ON *.* TO '$user'@'127.0.0.1' WITH GRANT OPTION;
CREATE DATABASE IF NOT EXISTS \`$db\` CHARACTER SET latin1;
SQL
sql "$db" <"$schema"

if [ "$demo" = "--demo" ] && [ "$role" = local ]; then
    count=$(sql -N "$db" -e "SELECT COUNT(*) FROM Uf")
    if [ "$count" = 0 ]; then
        python3 "$here/schema/demo_data.py" | sql "$db"
    fi
fi
