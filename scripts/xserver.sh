#!/usr/bin/env bash
# An X server of its own (Xvfb on a free display number) with a window manager (openbox), for the
# tests on a real display.
#   xserver.sh start DIR WIDTHxHEIGHT   prints the display (":N") once the window manager runs
#   xserver.sh stop DIR                 stops both (only the processes it started)
set -euo pipefail
cmd=$1; dir=$2

stop() {
    for name in openbox Xvfb; do
        [ -f "$dir/$name.pid" ] || continue
        pid=$(cat "$dir/$name.pid")
        # Only our own process, should the number have been reused meanwhile.
        if grep -qa "$name" "/proc/$pid/cmdline" 2>/dev/null; then
            kill "$pid" 2>/dev/null || true
            for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        fi
        rm -f "$dir/$name.pid"
    done
}

# Polls CONDITION (a command) every tenth of a second for at most SECONDS.
wait_for() {
    local seconds=$1; shift
    for _ in $(seq $((seconds * 10))); do "$@" && return 0; sleep 0.1; done
    return 1
}

case "$cmd" in
start)
    size=$3
    stop
    mkdir -p "$dir"
    rm -f "$dir/display"
    # -displayfd: the server picks a free display number and writes it once it accepts clients.
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$dir/display" \
        >"$dir/Xvfb.log" 2>&1 </dev/null &
    echo $! >"$dir/Xvfb.pid"
    wait_for 30 grep -q '[0-9]' "$dir/display" || { echo "Xvfb did not start (see $dir/Xvfb.log)" >&2; stop; exit 1; }
    display=:$(tr -dc '0-9' <"$dir/display")
    HOME=$dir DISPLAY=$display openbox --sm-disable >"$dir/openbox.log" 2>&1 </dev/null &
    echo $! >"$dir/openbox.pid"
    wm_running() { DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
    wait_for 30 wm_running || { echo "openbox did not start (see $dir/openbox.log)" >&2; stop; exit 1; }
    echo "$display"
    ;;
stop) stop ;;
*) echo "usage: xserver.sh start DIR WIDTHxHEIGHT | stop DIR" >&2; exit 2 ;;
esac
