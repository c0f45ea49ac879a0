#!/usr/bin/env bash
# Fuzzes the readers of outside input with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer.
#   scripts/fuzz.sh TARGET|all [SECONDS]    TARGET: http_answer cnpj_page cpf_page viacep_answer (60 s each)
# Builds in build-fuzz/ (clang, only the QtCore libraries the targets need). New inputs found go to
# build-fuzz/corpus/TARGET, the seed corpus fuzz/corpus/TARGET stays as it is. An input that fails is
# written to build-fuzz/crashes/TARGET/: once mended, copy it into fuzz/crashes/TARGET/ so that
# ./test.sh replays it from then on (fuzz_replay_TARGET).
set -euo pipefail
source "$(dirname "$0")/env.sh"
target=${1:?usage: scripts/fuzz.sh TARGET|all [SECONDS]}
seconds=${2:-60}
FUZZ_BUILD=${FUZZ_BUILD:-$ROOT/build-fuzz}
all=(http_answer cnpj_page cpf_page viacep_answer)
if [ "$target" = all ]; then targets=("${all[@]}"); else targets=("$target"); fi

"$ROOT/scripts/deps.sh" --fuzz
cmake -S "$ROOT/fuzz" -B "$FUZZ_BUILD" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$FUZZ_BUILD" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

status=0
for t in "${targets[@]}"; do
    mkdir -p "$FUZZ_BUILD/corpus/$t" "$FUZZ_BUILD/crashes/$t"
    echo "== $t: $seconds s"
    "$FUZZ_BUILD/fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
        -dict="$ROOT/fuzz/dict/$t.dict" -artifact_prefix="$FUZZ_BUILD/crashes/$t/" \
        "$FUZZ_BUILD/corpus/$t" "$ROOT/fuzz/corpus/$t" || status=1
done
exit $status
