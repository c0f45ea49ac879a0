#!/usr/bin/env bash
# Stops the stand-ins that start.sh started in DIR (only the processes whose pids it recorded).
#   standins/stop.sh DIR
set -uo pipefail
DIR=${1:?usage: stop.sh DIR}
for pidfile in "$DIR"/*.pid; do
    [ -e "$pidfile" ] || continue
    pid=$(cat "$pidfile")
    # Only a process still running one of our scripts: the pid may have been reused.
    if grep -q 'standins/' "/proc/$pid/cmdline" 2>/dev/null; then
        kill "$pid" 2>/dev/null
    fi
    rm -f "$pidfile" "${pidfile%.pid}.port"
done
exit 0
