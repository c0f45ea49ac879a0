# Sourced by run.sh, test.sh and the benchmark: where things are and which ports they use.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
export CCACHE_BASEDIR=$ROOT
# build_project [TARGET...]: installs what is missing, configures and builds TARGETs (everything when none).
build_project() {
    "$ROOT/scripts/deps.sh"
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    # CAD_WARNINGS_FAIL=1 (CI) fails the build on any compiler warning; ccache replays a cached unit's warnings.
    if [ "${CAD_WARNINGS_FAIL:-0}" = 1 ]; then
        local log=$BUILD/build.log
        cmake --build "$BUILD" -j"$(nproc)" "${targets[@]}" 2>&1 | tee "$log"
        if grep -q "warning:" "$log"; then
            echo "The build has compiler warnings (see above)." >&2
            return 1
        fi
    else
        cmake --build "$BUILD" -j"$(nproc)" "${targets[@]}"
    fi
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
# prepare_demo DATADIR LOCALPORT CENTRALPORT: the demo's two servers (data kept in DATADIR between
# runs), the stand-ins of the web services, and BUILD/bin/Admin.ini pointing at all of them.
prepare_demo() {
    local data=$1 local_port=$2 central_port=$3
    "$ROOT/scripts/provision.sh" local "$data/local" "$local_port" loja --demo
    "$ROOT/scripts/provision.sh" central "$data/central" "$central_port" rede
    "$ROOT/standins/start.sh" "$data/standins" "$BUILD/bin"
    write_admin_ini "$BUILD/bin/Admin.ini" "$local_port" loja "$(cat "$data/local/password")" \
        "$central_port" rede "$(cat "$data/central/password")"
    # The stand-ins' addresses for the services configured through Admin.ini.
    cat "$BUILD/bin/CadServicos.ini" >>"$BUILD/bin/Admin.ini"
}
