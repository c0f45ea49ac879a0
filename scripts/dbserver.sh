#!/usr/bin/env bash
# Private MariaDB server on a loopback port, its data directory inside the checkout.
#   dbserver.sh start DATADIR PORT   initialise when absent, then start (no-op when running)
#   dbserver.sh stop DATADIR
set -euo pipefail
cmd=$1; dir=$2
[ -d "$dir" ] && dir=$(cd "$dir" && pwd)
pidfile="$dir/mariadbd.pid"

# The pid file may outlive its server (a crash, a reboot) and its number be reused: only a MariaDB
# server started on this data folder counts, so nothing else is skipped for it or stopped.
running() {
    local pid
    pid=$(cat "$pidfile" 2>/dev/null) || return 1
    [[ "$pid" =~ ^[0-9]+$ ]] || return 1
    local args
    args=$(tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null) || return 1
    [ "$(basename "$(head -n1 <<<"$args")")" = mariadbd ] && grep -qxF -- "--datadir=$dir/data" <<<"$args"
}

case "$cmd" in
start)
    port=$3
    if running; then exit 0; fi
    rm -f "$pidfile"
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd); pidfile="$dir/mariadbd.pid"
    if [ ! -d "$dir/data/mysql" ]; then
        mariadb-install-db --no-defaults --datadir="$dir/data" --user="$(id -un)" \
            --auth-root-authentication-method=socket --skip-test-db \
            --lower-case-table-names=1 >"$dir/install.log" 2>&1
    fi
    nohup mariadbd --no-defaults --datadir="$dir/data" --port="$port" --bind-address=127.0.0.1 \
        --socket="$dir/mariadbd.sock" --pid-file="$pidfile" --user="$(id -un)" \
        --lower-case-table-names=1 --character-set-server=latin1 --collation-server=latin1_swedish_ci \
        --innodb-buffer-pool-size=256M --innodb-flush-log-at-trx-commit=2 --skip-name-resolve \
        --log-error="$dir/error.log" >/dev/null 2>&1 &
    for _ in $(seq 1 1200); do
        if mariadb-admin --no-defaults --socket="$dir/mariadbd.sock" -uroot ping >/dev/null 2>&1; then exit 0; fi
        sleep 0.1
    done
    echo "MariaDB did not start in $dir within 2 minutes; see $dir/error.log" >&2
    exit 1
    ;;
stop)
    if running; then
        pid=$(cat "$pidfile"); kill "$pid"
        for _ in $(seq 1 200); do kill -0 "$pid" 2>/dev/null || exit 0; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    fi
    ;;
*) echo "usage: $0 start DATADIR PORT | stop DATADIR" >&2; exit 2 ;;
esac
