#!/usr/bin/env bash
# Starts the real program many times, each on a fresh private X server that
# resets whenever its last client leaves, right after another client has come
# and gone and with every core kept busy: that is when a start falls into a
# reset. Every start must map its window. Then starts without a usable display
# must print the one-line message and exit with status 1.
# Needs Xvfb, xdotool and xdpyinfo; no display, no stdin.
#
# Usage: startup_test.sh VERSOMAT_BINARY [STARTS]   (STARTS defaults to 30)
set -uo pipefail

readonly WINDOW_TIMEOUT=20 # seconds from launch until the window must be mapped
readonly CONNECT_WAIT=5    # seconds to wait for Qt's connection before looking anyway

app=${1:?usage: startup_test.sh VERSOMAT_BINARY [STARTS]}
starts=${2:-30}

work=""
xvfb_pid=""
app_pid=""
busy_pids=()

. "$(dirname "${BASH_SOURCE[0]}")/processes.sh"

cleanup() {
    local status=$? pid
    trap - EXIT INT TERM
    for pid in "${busy_pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    stop_process "$app_pid"
    stop_process "$xvfb_pid"
    [ -n "$work" ] && rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
    echo "startup test FAILED: $*" >&2
    exit 1
}

for tool in Xvfb xdotool xdpyinfo timeout nproc; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (Debian packages xvfb, xdotool, x11-utils)"
done
[ -x "$app" ] || fail "no program at $app"
[[ "$starts" =~ ^[0-9]+$ ]] || fail "STARTS must be a whole number, not $starts"

work=$(mktemp -d "${TMPDIR:-/tmp}/versomat-startup.XXXXXX") || fail "cannot make a working folder"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
# An abort must not leave core files behind; its exit status still shows it.
ulimit -c 0

# The loops end by themselves should this script be killed without cleanup.
for _ in $(seq "$(nproc)"); do
    sh -c 'while kill -0 "$1" 2>/dev/null; do :; done' busy $$ </dev/null >/dev/null 2>&1 &
    busy_pids+=($!)
done

# Starts a fresh X server and on it the program, and leaves both running;
# sets "problem" to what went wrong, or to "" when the window was mapped.
start_on_fresh_server() {
    local display status threads
    local deadline=$((SECONDS + WINDOW_TIMEOUT)) connect_deadline=$((SECONDS + CONNECT_WAIT))
    problem=""
    # A plain server as users start it: no -noreset, default screen. A fresh
    # one each time, as its first reset is the slow one.
    start_xvfb "$work/xvfb.log" || fail "Xvfb did not start within 10 s: $(tail -n 5 "$work/xvfb.log")"
    display=$xvfb_display
    # Another client comes and goes, as a script waiting for the server
    # would; the server resets once it has left.
    DISPLAY=$display xdpyinfo >/dev/null 2>&1 || fail "xdpyinfo could not reach the new server"

    env -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u XDG_SESSION_TYPE -u QT_QPA_PLATFORM \
        DISPLAY="$display" "$@" "$app" </dev/null >"$work/app.log" 2>&1 &
    app_pid=$!
    # xdotool must not connect before Qt has: it would keep the server from
    # resetting when the display check hangs up, and so hide the fault. Qt's
    # X11 plugin starts its first thread once its connection stands. Polled
    # without forking, so as not to take CPU time from the start.
    while ((SECONDS < connect_deadline)) && kill -0 "$app_pid" 2>/dev/null; do
        threads=(/proc/"$app_pid"/task/*)
        ((${#threads[@]} >= 2)) && break
        sleep 0.05
    done
    while ((SECONDS < deadline)) && kill -0 "$app_pid" 2>/dev/null; do
        DISPLAY=$display xdotool search --onlyvisible --pid "$app_pid" --name '^Versomat$' >/dev/null 2>&1 && return
        sleep 0.05
    done
    if kill -0 "$app_pid" 2>/dev/null; then
        problem="no window within ${WINDOW_TIMEOUT}s"
        return
    fi
    wait "$app_pid"
    status=$?
    app_pid=""
    case $status in
    134) problem="abort: $(head -n 1 "$work/app.log")" ;;
    *) problem="exit status $status: $(head -n 1 "$work/app.log")" ;;
    esac
}

start_once() {
    start_on_fresh_server "$@"
    stop_process "$app_pid"
    stop_process "$xvfb_pid"
    app_pid=""
    xvfb_pid=""
}

aborts=0
failures=0
count_problem() {
    [ -z "$problem" ] && return 0
    failures=$((failures + 1))
    [[ "$problem" == abort* ]] && aborts=$((aborts + 1))
    echo "$1: $problem" >&2
}
for i in $(seq "$starts"); do
    start_once
    count_problem "start $i"
done
# Qt tries Wayland first where WAYLAND_DISPLAY is set, and has to fall back
# to X when that compositor is gone.
start_once WAYLAND_DISPLAY=versomat-gone
count_problem "start with a stale WAYLAND_DISPLAY"
echo "startup test: $((starts + 1)) starts, $failures failed, $aborts of them aborted"
((failures == 0)) || fail "$failures of $((starts + 1)) starts did not show the window"

# Without a usable display: the one line and status 1, nothing else.
declare -A NO_DISPLAY=(
    [none]=""
    [stale-wayland-display]="WAYLAND_DISPLAY=versomat-gone"
    [wayland-session-without-compositor]="XDG_SESSION_TYPE=wayland"
)
for name in "${!NO_DISPLAY[@]}"; do
    # shellcheck disable=SC2086
    env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u XDG_SESSION_TYPE -u QT_QPA_PLATFORM \
        ${NO_DISPLAY[$name]} timeout 10 "$app" </dev/null >"$work/app.log" 2>&1
    status=$?
    message=$(cat "$work/app.log")
    if [ "$status" -ne 1 ] || [ "$(wc -l <"$work/app.log")" -ne 1 ] ||
        [[ "$message" != "versomat: no display found"* ]]; then
        fail "start without a display ($name) gave status $status and: $message"
    fi
done
echo "startup test: passed"
