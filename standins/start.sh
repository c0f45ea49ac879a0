#!/usr/bin/env bash
# Starts the stand-ins of the web services in the background and points the program at them.
#   standins/start.sh DIR BINDIR
# DIR receives each server's pid and log (captcha texts are logged); BINDIR receives the
# service-address files CadConsultaCNPJServicos.ini and CadConsultaCPFServicos.ini, which the
# look-ups read from the program's folder, and CadServicos.ini, a [SERVICOS] section for Admin.ini.
# CAD_STANDIN_CAPTCHA=TEXT makes every captcha accept TEXT (images still show it).
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
DIR=${1:?usage: start.sh DIR BINDIR}
BINDIR=${2:?usage: start.sh DIR BINDIR}
mkdir -p "$DIR" "$BINDIR"
"$HERE/stop.sh" "$DIR"

# The route page loads the map script over HTTPS only: a demo authority (made once, kept in DIR/tls)
# signs the map stand-in's certificate, and the program trusts it through CAFILE.
TLS=$DIR/tls
if [ ! -f "$TLS/maps.pem" ]; then
    mkdir -p "$TLS"
    openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -days 3650 -subj "/CN=Cadastro demo CA" \
        -keyout "$TLS/ca.key" -out "$TLS/ca.pem" 2>/dev/null
    openssl req -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -subj "/CN=127.0.0.1" \
        -keyout "$TLS/maps.key" -out "$TLS/maps.csr" 2>/dev/null
    printf '%s\n' "subjectAltName=IP:127.0.0.1" "basicConstraints=critical,CA:FALSE" \
        "extendedKeyUsage=serverAuth" >"$TLS/maps.ext"
    openssl x509 -req -in "$TLS/maps.csr" -CA "$TLS/ca.pem" -CAkey "$TLS/ca.key" -CAcreateserial -days 365 \
        -extfile "$TLS/maps.ext" -out "$TLS/maps.pem" 2>/dev/null
fi

# start NAME SCRIPT [ARGS...]: runs it on a free port and waits for its "READY <port>" line.
start() {
    local name=$1 script=$2 log=$DIR/$1.log
    shift 2
    : >"$log"
    python3 -u "$HERE/$script" --port 0 ${CAD_STANDIN_CAPTCHA:+--captcha "$CAD_STANDIN_CAPTCHA"} "$@" >"$log" 2>&1 &
    echo $! >"$DIR/$name.pid"
    for _ in $(seq 300); do # up to 30 s for a slow first start
        if read -r word port _ <"$log" 2>/dev/null && [ "$word" = READY ]; then
            echo "$port" >"$DIR/$name.port"
            return 0
        fi
        kill -0 "$(cat "$DIR/$name.pid")" 2>/dev/null || break
        sleep 0.1
    done
    echo "stand-in $name did not start; see $log" >&2
    return 1
}

start cnpj receita_cnpj.py
start cpf receita_cpf.py
start viacep viacep.py
start maps maps_api.py --tls-cert "$TLS/maps.pem" --tls-key "$TLS/maps.key"
CNPJ=127.0.0.1:$(cat "$DIR/cnpj.port")
CPF=127.0.0.1:$(cat "$DIR/cpf.port")
VIACEP=http://127.0.0.1:$(cat "$DIR/viacep.port")
MAPS=127.0.0.1:$(cat "$DIR/maps.port")

# Same keys as the embedded addresses, over plain HTTP on loopback.
printf '%s\r\n' ";;;;;;;;;;;;;; ENDERECOS DA RECEITA (stand-in) ;;;;;;;;;;;;;;;;" "[ENDERECOS]" \
    "CAPTCH=http://$CNPJ/Servicos/cnpjreva/captcha/gerarCaptcha.asp" \
    "REFER=http://$CNPJ/Servicos/cnpjreva/Cnpjreva_Solicitacao_CS.asp" \
    "POST=http://$CNPJ/Servicos/cnpjreva/valida.asp" >"$BINDIR/CadConsultaCNPJServicos.ini"
printf '%s\r\n' ";;;;;;;;;;;;;; ENDERECOS DA RECEITA (stand-in) ;;;;;;;;;;;;;;;;" "[ENDERECOS]" \
    "CAPTCH=http://$CPF/Servicos/CPF/ConsultaSituacao/ConsultaPublicaSonoro.asp" \
    "POST=http://$CPF/Servicos/CPF/ConsultaSituacao/ConsultaPublicaExibir.asp" >"$BINDIR/CadConsultaCPFServicos.ini"
# The [SERVICOS] section of Admin.ini that points the postal-code look-up and the route page at their stand-ins
# (the federal registry look-ups already follow the two files above).
printf '%s\r\n' "[SERVICOS]" "VIACEP=$VIACEP" "MAPAS=$MAPS" "CAFILE=$TLS/ca.pem" >"$BINDIR/CadServicos.ini"

echo "Stand-ins: CNPJ http://$CNPJ  CPF http://$CPF  ViaCEP $VIACEP  mapas https://$MAPS  (logs and captcha texts in $DIR)"
