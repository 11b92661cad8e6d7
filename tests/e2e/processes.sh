# Sourced by the end-to-end scripts: stopping what they started, and a
# watchdog that ends a script which runs too long.

# stop_process PID: asks the process to end, waits up to 2.5 s, then kills it.
stop_process() {
    local pid=$1
    [ -n "$pid" ] || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 0
}

# start_watchdog SECONDS: sends this script TERM after SECONDS and sets
# watchdog_pid. The watchdog ends its own sleep when it is stopped, so
# nothing lingers.
start_watchdog() {
    bash -c 'sleep "$1" & s=$!; trap "kill $s; exit 0" TERM; wait $s; kill -TERM "$2"' \
        watchdog "$1" $$ </dev/null >/dev/null 2>&1 &
    watchdog_pid=$!
}
