#!/usr/bin/env bash
# Drives the real window through one whole session on a private X server and
# compares what its text boxes show with what the core gives for the same
# clicks. Needs Xvfb, xdotool and xclip; no display, no stdin, runs as root.
#
# Usage: session_test.sh VERSOMAT_BINARY EXPECTED_POEMS_BINARY CONTROLS_TSV
set -euo pipefail

readonly OVERALL_TIMEOUT=90 # seconds for the whole session, cleanup included

readonly USAGE="usage: session_test.sh VERSOMAT_BINARY EXPECTED_POEMS_BINARY CONTROLS_TSV"
app=${1:?$USAGE}
expected_tool=${2:?$USAGE}
controls=${3:?$USAGE}

. "$(dirname "${BASH_SOURCE[0]}")/processes.sh"

marker_pid=""
# Reverse order of starting: the window must not outlive its X server's
# shutdown, which would leave it printing connection errors.
stop_at_exit=(marker_pid app_pid xvfb_pid)
fail_logs=(app.log)
e2e_begin "e2e session" "$OVERALL_TIMEOUT"

require_tools "xvfb, xdotool, xclip" Xvfb xdotool xclip timeout cmp diff sed
[ -x "$app" ] || fail "no program at $app"
[ -x "$expected_tool" ] || fail "no program at $expected_tool"
[ -r "$controls" ] || fail "cannot read the control table $controls"

# Names, roles and pixel rectangles come from the window's control table,
# which the build writes as controls.tsv.
declare -A RECT=() EXAMPLE_BUTTON=() ACCEPT_BUTTON=() LIST_BOX=() MARK=() ROLE=()
CONTROLS_RIGHT=0
CONTROLS_BOTTOM=0
while IFS=$'\t' read -r name _kind role list left top width height _rest; do
    [ "$name" = name ] && continue
    RECT[$name]="$left $top $width $height"
    CONTROLS_RIGHT=$((left + width > CONTROLS_RIGHT ? left + width : CONTROLS_RIGHT))
    CONTROLS_BOTTOM=$((top + height > CONTROLS_BOTTOM ? top + height : CONTROLS_BOTTOM))
    ROLE[$role]=$name
    case $role in
        example) EXAMPLE_BUTTON[$list]=$name ;;
        accept) ACCEPT_BUTTON[$list]=$name ;;
        box) LIST_BOX[$list]=$name ;;
        mark) MARK[$list]=$name ;;
    esac
done <"$controls"
for role in generate random output sheet sheetShow sheetAccept; do
    [ -n "${ROLE[$role]:-}" ] || fail "the control table $controls names no control of role $role"
done
readonly LISTS=(actors objects verbs adjectives)
GEDICHT=${ROLE[generate]}
RANDOM_START=${ROLE[random]}
OUTPUT=${ROLE[output]}
SHEET=${ROLE[sheet]}
SHEET_SHOW=${ROLE[sheetShow]}
SHEET_ACCEPT=${ROLE[sheetAccept]}

step="computing the expected texts"
mkdir "$work/expected"
"$expected_tool" "$work/expected" </dev/null || fail "$expected_tool failed"
# Qt hands a box's text to the clipboard with "\n" line breaks.
for f in "$work"/expected/*.txt; do
    sed -z 's/\r\n/\n/g' "$f" >"${f%.txt}.lf"
done

step="starting Xvfb"
# Without -noreset the server resets whenever its last client leaves and
# drops the connections that arrive meanwhile.
start_xvfb "$work/xvfb.log" -screen 0 1024x800x24 -dpi 96 -noreset ||
    fail "Xvfb did not start: $(tail -n 5 "$work/xvfb.log")"
export DISPLAY=$xvfb_display

step="starting versomat"
XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$app" </dev/null >"$work/app.log" 2>&1 &
app_pid=$!

step="waiting for the window Versomat"
# Polled rather than "search --sync", so that a program that dies at
# startup is reported at once.
wait_for_window "$app_pid"
# On this screen the window needs no scrolling: every control lies inside it.
geometry=$(xdotool getwindowgeometry --shell "$window") || fail "xdotool could not read the window's size"
width=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
height=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
[ "$width" -ge "$CONTROLS_RIGHT" ] && [ "$height" -ge "$CONTROLS_BOTTOM" ] ||
    fail "the window is ${width}x$height pixels, too small for controls reaching ${CONTROLS_RIGHT}x$CONTROLS_BOTTOM"

click() {
    local left top width height
    read -r left top width height <<<"${RECT[$1]}"
    kill -0 "$app_pid" 2>/dev/null || fail "versomat is no longer running"
    xdotool mousemove --window "$window" $((left + width / 2)) $((top + height / 2)) click 1 ||
        fail "xdotool could not click $1"
}

press_keys() {
    xdotool key --clearmodifiers "$@" || fail "xdotool could not press $*"
}

# clipboard_into FILE: the clipboard's text. The bound of a few seconds is
# for a clipboard owner that never answers: a hung command in the
# foreground would hold off the watchdog too.
clipboard_into() {
    timeout 5 xclip -o -selection clipboard >"$1" 2>/dev/null
}
clipboard_is() {
    clipboard_into "$work/clipboard" && cmp -s "$work/clipboard" "$1"
}
clipboard_is_not() {
    clipboard_into "$2" && ! cmp -s "$2" "$1"
}

# read_box CONTROL FILE: copies the control's whole text into FILE.
read_box() {
    # Own the clipboard with a marker first: a copy that never arrives then
    # shows as the marker instead of as some earlier box's text.
    printf 'versomat-e2e-marker %s %s' "$1" "$RANDOM" >"$work/marker"
    xclip -quiet -selection clipboard -i "$work/marker" </dev/null >/dev/null 2>&1 &
    marker_pid=$!
    wait_for "$marker_pid" clipboard_is "$work/marker"
    click "$1"
    press_keys ctrl+a ctrl+c
    # The marker's xclip ends once the window takes the clipboard over.
    wait_for "$app_pid" clipboard_is_not "$work/marker" "$2"
    stop_process "$marker_pid"
    marker_pid=""
}

# expect_box CONTROL EXPECTED_FILE WHAT
expect_box() {
    read_box "$1" "$work/shown"
    cmp -s "$2" "$work/shown" ||
        fail "$1 does not show $3 (- expected, + shown; \$ ends a line):
$(diff -u --label expected --label shown <(cat -vet "$2") <(cat -vet "$work/shown") | head -n 60)"
}

# expect_text CONTROL TEXT WHAT: TEXT without the final line break.
expect_text() {
    printf '%s' "$2" >"$work/literal"
    expect_box "$1" "$work/literal" "$3"
}

# expect_random_poem NUMBER: a poem with random start, one line after its heading.
expect_random_poem() {
    read_box "$OUTPUT" "$work/shown"
    local heading lines
    heading=$(head -n 1 "$work/shown")
    lines=$(awk 'END { print NR }' "$work/shown")
    [ "$heading" = "Zufalls-Poem-Text $1" ] || fail "the heading reads \"$heading\", not \"Zufalls-Poem-Text $1\""
    [ "$lines" -eq 2 ] && [ -n "$(sed -n 2p "$work/shown")" ] ||
        fail "with w13=1 the poem should have one line after its heading, it has $((lines - 1)): $(cat "$work/shown")"
}

step="reading the initial texts"
expect_text "${LIST_BOX[actors]}" $'noch leer\n' "its initial text"
expect_text "${MARK[actors]}" '*' "the red mark"

step="pressing the four example buttons"
for list in "${LISTS[@]}"; do
    click "${EXAMPLE_BUTTON[$list]}"
done
for list in "${LISTS[@]}"; do
    expect_box "${LIST_BOX[$list]}" "$work/expected/example_$list.lf" "the example $list"
done

step="pressing Gedicht before the lists are accepted"
click "$GEDICHT"
expect_box "$OUTPUT" "$work/expected/refusal.lf" "the missing-data message"

step="accepting the four lists"
for list in "${LISTS[@]}"; do
    click "${ACCEPT_BUTTON[$list]}"
done
for list in "${LISTS[@]}"; do
    expect_text "${MARK[$list]}" OK "OK for the accepted $list"
done

step="composing the first two poems"
click "$GEDICHT"
expect_box "$OUTPUT" "$work/expected/poem1.lf" "the core's first poem"
click "$GEDICHT"
expect_box "$OUTPUT" "$work/expected/poem2.lf" "the core's second poem"

step="showing and editing the probability sheet"
click "$SHEET_SHOW"
expect_box "$SHEET" "$work/expected/sheet_defaults.lf" "the default probability sheet"
click "$SHEET"
press_keys ctrl+a
# xdotool types "\n" as a key Qt ignores, so each line ends with Return.
while IFS= read -r line; do
    xdotool type --delay 2 -- "$line" || fail "xdotool could not type the sheet"
    press_keys Return
done <"$work/expected/sheet_one_line.lf"
expect_box "$SHEET" "$work/expected/sheet_one_line.lf" "the sheet as typed"
click "$SHEET_ACCEPT"

step="composing a poem with w13=1"
click "$GEDICHT"
# Read through the spot where the sheet stood: only a hidden sheet lets the
# click reach Text5 there.
expect_box "$SHEET" "$work/expected/poem3.lf" "the core's one-line poem in Text5 (is the sheet still shown?)"

step="checking that the sheet kept w13=1"
click "$SHEET_SHOW"
expect_box "$SHEET" "$work/expected/sheet_one_line.lf" "the accepted values"
click "$SHEET_ACCEPT"

step="pressing mit Zufallsstart"
click "$RANDOM_START"
expect_random_poem 4
step="pressing Gedicht after the random start"
click "$GEDICHT"
expect_random_poem 5

step="finishing"
kill -0 "$app_pid" 2>/dev/null || fail "versomat exited during the session"
echo "e2e session passed: examples, refusal, accepts, poems 1-3 as the core gives them, sheet, random start"
