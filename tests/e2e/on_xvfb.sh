#!/usr/bin/env bash
# Runs a command on a private Xvfb screen and ends with the command's status.
#
# Usage: on_xvfb.sh WIDTHxHEIGHTxDEPTH COMMAND [ARGUMENT...]
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/processes.sh"

screen=${1:?usage: on_xvfb.sh WIDTHxHEIGHTxDEPTH COMMAND [ARGUMENT...]}
shift
log=$(mktemp "${TMPDIR:-/tmp}/versomat-xvfb.XXXXXX")
xvfb_pid=""
trap 'stop_process "$xvfb_pid"; rm -f "$log"' EXIT
if ! start_xvfb "$log" -screen 0 "$screen" -dpi 96 -noreset; then
    echo "on_xvfb.sh: Xvfb did not start: $(tail -n 5 "$log")" >&2
    exit 1
fi
DISPLAY=$xvfb_display "$@"
