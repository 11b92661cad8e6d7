#!/usr/bin/env bash
# Usage: on_xvfb.sh WIDTHxHEIGHTxDEPTH COMMAND [ARGUMENT...]
# Runs the command on a private Xvfb screen; ends with the command's status.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/processes.sh"

screen=${1:?usage: on_xvfb.sh WIDTHxHEIGHTxDEPTH COMMAND [ARGUMENT...]}
shift
test_name=on_xvfb.sh
log=$(mktemp "${TMPDIR:-/tmp}/versomat-xvfb.XXXXXX")
trap 'stop_process "$xvfb_pid"; rm -f "$log"' EXIT
start_xvfb "$log" -screen 0 "$screen" -dpi 96 -noreset || fail "Xvfb did not start: $(tail -n 5 "$log")"
DISPLAY=$xvfb_display "$@"
