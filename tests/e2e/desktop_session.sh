#!/usr/bin/env bash
# Runs the real program the way a screen-reader user meets it, on X11 (Xvfb)
# or natively on Wayland (headless weston): a private session bus and
# accessibility bus, the program with Qt's accessibility bridge switched on,
# and atspi_session.py working the window through AT-SPI alone. Afterwards the
# program must still be running and must end on SIGTERM without a crash.
# Needs no display, no stdin and no session of its own; runs as root.
#
# Usage: desktop_session.sh x11|wayland VERSOMAT_BINARY CONTROLS_TSV APP_ID
set -euo pipefail

readonly USAGE="usage: desktop_session.sh x11|wayland VERSOMAT_BINARY CONTROLS_TSV APP_ID"
readonly OVERALL_TIMEOUT=80 # seconds for the whole session, cleanup included
readonly BUS_LAUNCHER=/usr/libexec/at-spi-bus-launcher
readonly PYTHON=/usr/bin/python3 # the system's, which is where python3-pyatspi lives
readonly DRIVER="$(dirname "$0")/atspi_session.py"

mode=${1:?$USAGE}
app=${2:?$USAGE}
controls=${3:?$USAGE}
app_id=${4:?$USAGE}

. "$(dirname "${BASH_SOURCE[0]}")/processes.sh"

bus_pid=""
launcher_pid=""
display_pid=""
driver_pid=""
# Reverse order of starting: the program must not outlive its display
# server, or Qt reports a broken connection and aborts. The launcher leads
# its own process group, which holds the accessibility bus and the registry
# that bus started.
stop_at_exit=(driver_pid app_pid display_pid launcher_pid:group bus_pid)
fail_logs=(app.log display.log launcher.log)
e2e_begin "desktop session ($mode)" "$OVERALL_TIMEOUT"

case $mode in
x11) display_tools=(Xvfb) ;;
wayland) display_tools=(weston) ;;
*) fail "unknown mode \"$mode\"; $USAGE" ;;
esac
require_tools "dbus-daemon, dbus-bin, xvfb, weston, qt6-wayland" dbus-daemon dbus-send setsid "${display_tools[@]}"
[ -x "$BUS_LAUNCHER" ] || fail "no $BUS_LAUNCHER (Debian package at-spi2-core)"
"$PYTHON" -c 'import pyatspi' 2>/dev/null || fail "$PYTHON cannot import pyatspi (Debian package python3-pyatspi)"
[ -x "$app" ] || fail "no program at $app"
[ -r "$controls" ] || fail "cannot read the control table $controls"

# $work/runtime has mode 0700, which both weston and the accessibility bus
# insist on for XDG_RUNTIME_DIR.
export XDG_RUNTIME_DIR="$work/runtime"
# Nothing of the caller's desktop may leak in; the memory backend keeps
# GSettings from starting dconf on the private bus.
unset DISPLAY WAYLAND_DISPLAY AT_SPI_BUS_ADDRESS SESSION_MANAGER
export GSETTINGS_BACKEND=memory

step="starting the session bus"
dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus" </dev/null >"$work/bus.log" 2>&1 &
bus_pid=$!
wait_for "$bus_pid" grep -qs . "$work/bus"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

step="starting the accessibility bus"
setsid "$BUS_LAUNCHER" --launch-immediately </dev/null >"$work/launcher.log" 2>&1 &
launcher_pid=$!
a11y_bus_ready() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1
}
wait_for "$launcher_pid" a11y_bus_ready

step="starting the $mode display server"
if [ "$mode" = x11 ]; then
    # -displayfd picks a free display and writes its number once the server
    # accepts connections. Without -noreset the server resets when its last
    # client leaves.
    start_xvfb "$work/display.log" -screen 0 1024x800x24 -dpi 96 -noreset || fail "Xvfb did not start"
    display_pid=$xvfb_pid
    app_display=(DISPLAY="$xvfb_display" QT_QPA_PLATFORM=xcb)
else
    socket="versomat-$$"
    weston --backend=headless-backend.so --no-config --socket="$socket" --idle-time=0 \
        --width=1024 --height=800 </dev/null >"$work/display.log" 2>&1 &
    display_pid=$!
    wait_for "$display_pid" test -S "$XDG_RUNTIME_DIR/$socket"
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
# In the background, so that the watchdog can end a driver that hangs.
"$PYTHON" "$DRIVER" --pid "$app_pid" --controls "$controls" --timeout $((OVERALL_TIMEOUT - 10)) </dev/null &
driver_pid=$!
status=0
wait "$driver_pid" || status=$?
driver_pid=""
[ "$status" -eq 0 ] || fail "the AT-SPI driver failed (status $status)"

step="checking the desktop file name"
if [ "$mode" = wayland ]; then
    grep -qF "set_app_id(\"$app_id\")" "$work/app.log" ||
        fail "the window names no desktop file $app_id.desktop: $(grep -o 'set_app_id([^)]*)' "$work/app.log")"
fi

step="closing versomat"
kill -0 "$app_pid" 2>/dev/null || fail "versomat exited during the session"
kill -TERM "$app_pid"
status=0
wait "$app_pid" || status=$?
app_pid=""
# 128 + 15: ended by the SIGTERM itself. A program that catches it and quits
# its event loop ends with 0. Anything else (134 abort, 139 segfault) is a
# crash on the way out.
[ "$status" -eq 143 ] || [ "$status" -eq 0 ] || fail "versomat ended with status $status after SIGTERM"
! grep -qiE 'fatal|abort|core dumped' "$work/app.log" || fail "versomat reported a fatal error"

echo "desktop session ($mode) passed"
