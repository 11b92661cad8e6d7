#!/usr/bin/env bash
# Runs the real program the way a screen-reader user meets it, on X11 (Xvfb)
# or natively on Wayland (headless weston): a private session bus and
# accessibility bus, the program with Qt's accessibility bridge switched on,
# and atspi_session.py working the window through AT-SPI alone. Afterwards the
# program must still be running and must end on SIGTERM without a crash.
# Needs no display, no stdin and no session of its own; runs as root.
#
# Usage: desktop_session.sh x11|wayland VERSOMAT_BINARY CONTROLS_TSV GOLDEN_TXT
set -uo pipefail

readonly USAGE="usage: desktop_session.sh x11|wayland VERSOMAT_BINARY CONTROLS_TSV GOLDEN_TXT"
readonly OVERALL_TIMEOUT=60 # seconds for the whole session, cleanup included
readonly START_TIMEOUT=10   # seconds for each helper to come up
readonly DRIVER_TIMEOUT=40  # seconds for the AT-SPI driver, window wait included
readonly WINDOW_TIMEOUT=20  # seconds until the window must show on AT-SPI
readonly EXIT_TIMEOUT=5     # seconds for the program to end after SIGTERM
readonly BUS_LAUNCHER=/usr/libexec/at-spi-bus-launcher
readonly PYTHON=/usr/bin/python3 # the system's, which is where python3-pyatspi lives
readonly DRIVER="$(dirname "$0")/atspi_session.py"

mode=${1:?$USAGE}
app=${2:?$USAGE}
controls=${3:?$USAGE}
golden=${4:?$USAGE}

step="starting"
work=""
bus_pid=""
launcher_pid=""
display_pid=""
app_pid=""
watchdog_pid=""

. "$(dirname "${BASH_SOURCE[0]}")/processes.sh"

cleanup() {
    local status=$?
    trap - EXIT INT TERM
    # Reverse order of starting: the program must not outlive its display
    # server, or Qt reports a broken connection and aborts.
    stop_process "$app_pid"
    stop_process "$display_pid"
    # The launcher leads its own process group, which holds the accessibility
    # bus and the registry that bus started.
    if [ -n "$launcher_pid" ]; then
        stop_process "$launcher_pid"
        kill -KILL -- "-$launcher_pid" 2>/dev/null
    fi
    stop_process "$bus_pid"
    stop_process "$watchdog_pid"
    [ -n "$work" ] && rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT

fail() {
    echo "desktop session ($mode) FAILED while $step: $*" >&2
    local log lines
    for log in app display launcher; do
        [ -n "$work" ] && [ -s "$work/$log.log" ] || continue
        # Xvfb -displayfd logs every display number it finds taken.
        lines=$(grep -v '^_XSERVTrans' "$work/$log.log" | tail -n 20)
        [ -n "$lines" ] && printf -- '--- %s.log ---\n%s\n' "$log" "$lines" >&2
    done
    exit 1
}
trap 'fail "interrupted, or the session ran past ${OVERALL_TIMEOUT}s"' INT TERM

# wait_until SECONDS WHAT PID COMMAND...: polls COMMAND, failing at once if PID dies.
wait_until() {
    local seconds=$1 what=$2 pid=$3
    shift 3
    for _ in $(seq $((seconds * 20))); do
        "$@" && return 0
        kill -0 "$pid" 2>/dev/null || fail "$what: the process exited"
        sleep 0.05
    done
    fail "$what: nothing within ${seconds}s"
}

case $mode in
x11) display_tools=(Xvfb) ;;
wayland) display_tools=(weston) ;;
*) fail "unknown mode \"$mode\"; $USAGE" ;;
esac
for tool in dbus-daemon dbus-send setsid timeout "${display_tools[@]}"; do
    command -v "$tool" >/dev/null ||
        fail "$tool is not installed (Debian packages dbus-daemon, dbus-bin, xvfb, weston, qt6-wayland)"
done
[ -x "$BUS_LAUNCHER" ] || fail "no $BUS_LAUNCHER (Debian package at-spi2-core)"
"$PYTHON" -c 'import pyatspi' 2>/dev/null || fail "$PYTHON cannot import pyatspi (Debian package python3-pyatspi)"
[ -x "$app" ] || fail "no program at $app"
[ -r "$controls" ] || fail "cannot read the control table $controls"
[ -r "$golden" ] || fail "cannot read the golden poems $golden"

start_watchdog "$OVERALL_TIMEOUT"

# mktemp makes the folder with mode 0700, which both weston and the
# accessibility bus insist on for XDG_RUNTIME_DIR.
work=$(mktemp -d "${TMPDIR:-/tmp}/versomat-desktop.XXXXXX") || fail "cannot make a working folder"
export XDG_RUNTIME_DIR="$work"
# Nothing of the caller's desktop may leak in; the memory backend keeps
# GSettings from starting dconf on the private bus.
unset DISPLAY WAYLAND_DISPLAY AT_SPI_BUS_ADDRESS SESSION_MANAGER
export GSETTINGS_BACKEND=memory

step="starting the session bus"
dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus" </dev/null >"$work/bus.log" 2>&1 &
bus_pid=$!
wait_until "$START_TIMEOUT" "waiting for the session bus" "$bus_pid" grep -qs . "$work/bus"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

step="starting the accessibility bus"
setsid "$BUS_LAUNCHER" --launch-immediately </dev/null >"$work/launcher.log" 2>&1 &
launcher_pid=$!
a11y_bus_ready() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1
}
wait_until "$START_TIMEOUT" "waiting for the accessibility bus" "$launcher_pid" a11y_bus_ready

step="starting the $mode display server"
if [ "$mode" = x11 ]; then
    # -displayfd picks a free display and writes its number once the server
    # accepts connections. Without -noreset the server resets when its last
    # client leaves.
    started=0
    start_xvfb "$work/display.log" -screen 0 1024x800x24 -dpi 96 -noreset || started=$?
    display_pid=$xvfb_pid
    [ "$started" = 0 ] || fail "waiting for Xvfb: it did not start"
    app_display=(DISPLAY="$xvfb_display" QT_QPA_PLATFORM=xcb)
else
    socket="versomat-$$"
    weston --backend=headless-backend.so --no-config --socket="$socket" --idle-time=0 \
        --width=1024 --height=800 </dev/null >"$work/display.log" 2>&1 &
    display_pid=$!
    wait_until "$START_TIMEOUT" "waiting for weston" "$display_pid" test -S "$work/$socket"
    # No DISPLAY, so Qt cannot fall back to X11 behind the test's back.
    # The log shows the window's app_id, the desktop file's name.
    app_display=(WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client)
fi

step="starting versomat"
# Under another file name, which Qt would name the desktop file after, and on
# a desktop whose style is not Fusion: the program must set both itself.
cp "$app" "$work/renamed" || fail "cannot copy $app"
env "${app_display[@]}" QT_STYLE_OVERRIDE=Windows QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$work/renamed" \
    </dev/null >"$work/app.log" 2>&1 &
app_pid=$!

step="working the window through AT-SPI"
timeout "$DRIVER_TIMEOUT" "$PYTHON" "$DRIVER" --pid "$app_pid" --controls "$controls" --golden "$golden" \
    --timeout "$WINDOW_TIMEOUT" </dev/null || fail "the AT-SPI driver failed (status $?)"

step="checking the desktop file name"
if [ "$mode" = wayland ]; then
    grep -qF 'set_app_id("versomat")' "$work/app.log" ||
        fail "the window names no desktop file versomat.desktop: $(grep -o 'set_app_id([^)]*)' "$work/app.log")"
fi

step="closing versomat"
kill -0 "$app_pid" 2>/dev/null || fail "versomat exited during the session"
kill -TERM "$app_pid"
for _ in $(seq $((EXIT_TIMEOUT * 20))); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$app_pid" 2>/dev/null && fail "versomat still runs ${EXIT_TIMEOUT}s after SIGTERM"
wait "$app_pid"
status=$?
app_pid=""
# 128 + 15: ended by the SIGTERM itself. A program that catches it and quits
# its event loop ends with 0. Anything else (134 abort, 139 segfault) is a
# crash on the way out.
[ "$status" -eq 143 ] || [ "$status" -eq 0 ] || fail "versomat ended with status $status after SIGTERM"
grep -qiE 'fatal|abort|core dumped' "$work/app.log" && fail "versomat reported a fatal error"

echo "desktop session ($mode) passed"
