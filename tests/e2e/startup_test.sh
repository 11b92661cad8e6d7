#!/usr/bin/env bash
# Starts the real program many times, each on a fresh private X server that
# resets whenever its last client leaves, right after another client has come
# and gone and with every core kept busy: that is when a start falls into a
# reset. Every start must map its window. Then starts without a usable display
# must print the one-line message and exit with status 1.
# Needs Xvfb, xdotool and xdpyinfo; no display, no stdin.
#
# Usage: startup_test.sh VERSOMAT_BINARY [STARTS]   (STARTS defaults to 30)
set -euo pipefail

readonly OVERALL_TIMEOUT=170 # seconds for all starts, cleanup included

app=${1:?usage: startup_test.sh VERSOMAT_BINARY [STARTS]}
starts=${2:-30}

. "$(dirname "${BASH_SOURCE[0]}")/processes.sh"

stop_at_exit=(app_pid xvfb_pid)
fail_logs=(app.log)
e2e_begin "startup test" "$OVERALL_TIMEOUT"

require_tools "xvfb, xdotool, x11-utils" Xvfb xdotool xdpyinfo nproc
[ -x "$app" ] || fail "no program at $app"
[[ "$starts" =~ ^[0-9]+$ ]] || fail "STARTS must be a whole number, not $starts"

export XDG_RUNTIME_DIR="$work/runtime"
# An abort must not leave core files behind; its exit status still shows it.
ulimit -c 0

# The loops end by themselves once this script has gone, however it ends.
for _ in $(seq "$(nproc)"); do
    sh -c 'while kill -0 "$1" 2>/dev/null; do :; done' busy $$ </dev/null >/dev/null 2>&1 &
done

# Starts a fresh X server and on it the program, and leaves both running;
# sets "problem" to what went wrong, or to "" when the window was mapped.
start_on_fresh_server() {
    local display status
    problem=""
    # A plain server as users start it: no -noreset, default screen. A fresh
    # one each time, as its first reset is the slow one.
    start_xvfb "$work/xvfb.log" || fail "Xvfb did not start: $(tail -n 5 "$work/xvfb.log")"
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
    until qt_connected || ! kill -0 "$app_pid" 2>/dev/null; do
        sleep 0.05
    done
    until ! kill -0 "$app_pid" 2>/dev/null; do
        DISPLAY=$display find_window "$app_pid" && return
        sleep 0.05
    done
    status=0
    wait "$app_pid" || status=$?
    app_pid=""
    case $status in
    134) problem="abort: $(head -n 1 "$work/app.log")" ;;
    *) problem="exit status $status: $(head -n 1 "$work/app.log")" ;;
    esac
}

qt_connected() {
    local threads=(/proc/"$app_pid"/task/*)
    ((${#threads[@]} >= 2))
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
    step="start $i"
    start_once
    count_problem "start $i"
done
# Qt tries Wayland first where WAYLAND_DISPLAY is set, and has to fall back
# to X when that compositor is gone.
step="the start with a stale WAYLAND_DISPLAY"
start_once WAYLAND_DISPLAY=versomat-gone
count_problem "start with a stale WAYLAND_DISPLAY"
step=""
echo "startup test: $((starts + 1)) starts, $failures failed, $aborts of them aborted"
((failures == 0)) || fail "$failures of $((starts + 1)) starts did not show the window"

# Without a usable display: the one line and status 1, nothing else.
declare -A NO_DISPLAY=(
    [none]=""
    [stale-wayland-display]="WAYLAND_DISPLAY=versomat-gone"
    [wayland-session-without-compositor]="XDG_SESSION_TYPE=wayland"
)
for name in "${!NO_DISPLAY[@]}"; do
    step="starting without a display ($name)"
    # In the background, so that the watchdog can end a start that hangs.
    # shellcheck disable=SC2086
    env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u XDG_SESSION_TYPE -u QT_QPA_PLATFORM \
        ${NO_DISPLAY[$name]} "$app" </dev/null >"$work/app.log" 2>&1 &
    app_pid=$!
    status=0
    wait "$app_pid" || status=$?
    app_pid=""
    message=$(cat "$work/app.log")
    if [ "$status" -ne 1 ] || [ "$(wc -l <"$work/app.log")" -ne 1 ] ||
        [[ "$message" != "versomat: no display found"* ]]; then
        fail "status $status and: $message"
    fi
done
step=""
echo "startup test: passed"
