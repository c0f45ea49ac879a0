# Sourced by run.sh, test.sh and the benchmark: where things are and which ports they use.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
export CCACHE_BASEDIR=$ROOT
build_project() {
    "$ROOT/scripts/deps.sh"
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
    cmake --build "$BUILD" -j"$(nproc)"
}
# write_admin_ini FILE LOCALPORT LOCALDB LOCALPW CENTRALPORT CENTRALDB CENTRALPW
# The file holds both passwords: readable and writable by its owner only.
write_admin_ini() {
    rm -f "$1"
    (umask 077 && cat >"$1") <<INI
[LOCAL]
PORTA=$2
SERVIDOR=127.0.0.1
BANCO=$3
SENHA=$4

[LOJA]
PORTA=$2
SERVIDOR=127.0.0.1
BANCO=$3

[GERENCIA]
PORTA=$5
SERVIDOR=127.0.0.1
BANCO=$6
SENHA=$7
INI
}
