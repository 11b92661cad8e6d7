# Sourced by every script that starts Xvfb or the program: starting Xvfb,
# stopping processes, a watchdog, and the end-to-end tests' shared preamble.
# Safe under set -euo pipefail.

# stop_process PID: asks the process to end, waits up to 2.5 s, then kills it.
# Returns 0 also when the process had ended already: that is what was wanted.
stop_process() {
    local pid=$1
    [ -n "$pid" ] || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null || :
    # A stopped process's status tells nothing here: it was asked to end.
    wait "$pid" 2>/dev/null || :
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
# Returns 1 when the server ended without giving a number.
start_xvfb() {
    local log=$1 number_file
    shift
    number_file=$(mktemp "${TMPDIR:-/tmp}/versomat-display.XXXXXX") || return 1
    Xvfb -displayfd 3 -nolisten tcp "$@" 3>"$number_file" </dev/null >"$log" 2>&1 &
    xvfb_pid=$!
    until grep -q '^[0-9][0-9]*$' "$number_file" 2>/dev/null; do
        if ! kill -0 "$xvfb_pid" 2>/dev/null; then
            rm -f "$number_file"
            return 1
        fi
        sleep 0.05
    done
    xvfb_display=":$(cat "$number_file")"
    rm -f "$number_file"
}

# e2e_begin NAME SECONDS makes the working folder $work (and $work/runtime,
# mode 0700), starts a watchdog that fails the script after SECONDS, and at
# exit stops the processes whose ids the variables named in stop_at_exit hold,
# in that order ("NAME:group" also kills the group NAME leads), and removes
# $work. fail reports $step and the tail of each log in $work in fail_logs.
test_name=""
step="starting"
work=""
watchdog_pid=""
xvfb_pid=""
app_pid=""
stop_at_exit=()
fail_logs=()

fail() {
    local log lines
    echo "$test_name FAILED${step:+ while $step}: $*" >&2
    for log in "${fail_logs[@]}"; do
        [ -n "$work" ] && [ -s "$work/$log" ] || continue
        # Xvfb -displayfd logs every display number it finds taken.
        lines=$(sed '/^_XSERVTrans/d' "$work/$log" | tail -n 20)
        [ -z "$lines" ] || printf -- '--- %s ---\n%s\n' "$log" "$lines" >&2
    done
    exit 1
}

e2e_cleanup() {
    local status=$? entry name pid
    trap - EXIT INT TERM
    for entry in "${stop_at_exit[@]}"; do
        name=${entry%:group}
        pid=${!name:-}
        stop_process "$pid"
        if [ "$entry" != "$name" ] && [ -n "$pid" ]; then
            kill -KILL -- "-$pid" 2>/dev/null || : # the group may have ended with its leader
        fi
    done
    stop_process "$watchdog_pid"
    [ -z "$work" ] || rm -rf "$work"
    exit "$status"
}

e2e_begin() {
    test_name=$1
    trap e2e_cleanup EXIT
    trap "fail 'interrupted, or the test ran past $2 s'" INT TERM
    start_watchdog "$2"
    work=$(mktemp -d "${TMPDIR:-/tmp}/versomat-e2e.XXXXXX") || fail "cannot make a working folder"
    mkdir -m 700 "$work/runtime"
}

# require_tools PACKAGES TOOL...: fails unless every tool is on the PATH.
require_tools() {
    local packages=$1 tool
    shift
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "$tool is not installed (Debian packages $packages)"
    done
}

# wait_for PID COMMAND...: polls COMMAND until it succeeds, failing at once
# when PID has exited. The watchdog is its bound: on a busy shared machine one
# generous bound for the whole script flakes less than one per wait.
wait_for() {
    local pid=$1
    shift
    until "$@"; do
        kill -0 "$pid" 2>/dev/null || fail "the process waited on (pid $pid) has exited"
        sleep 0.05
    done
}

# wait_for_window PID: waits until PID shows its window on $DISPLAY and sets
# window to its id.
wait_for_window() { wait_for "$1" find_window "$1"; }
find_window() {
    window=$(xdotool search --onlyvisible --pid "$1" --name '^Versomat$' 2>/dev/null | head -n 1) && [ -n "$window" ]
}
