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

# start_xvfb LOG OPTION...: starts Xvfb with the options on a free display
# (-displayfd gives its number once the server accepts connections, so there
# is no guessing and no race) and sets xvfb_pid and xvfb_display (":N").
# Returns 1 when the server did not come up within 10 s.
start_xvfb() {
    local log=$1 number_file
    shift
    number_file=$(mktemp "${TMPDIR:-/tmp}/versomat-display.XXXXXX") || return 1
    Xvfb -displayfd 3 -nolisten tcp "$@" 3>"$number_file" </dev/null >"$log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 200); do
        if grep -q '^[0-9][0-9]*$' "$number_file" 2>/dev/null; then
            xvfb_display=":$(cat "$number_file")"
            rm -f "$number_file"
            return 0
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.05
    done
    rm -f "$number_file"
    return 1
}
