#!/usr/bin/python3
"""Works the running window through the accessibility interface alone, the way
a screen reader does: finds every control by its accessible name and role,
presses buttons through their actions and reads the poem's heading through the
output box's text interface. That the poem is the right one is the other
end-to-end session's proof. Knows nothing of the window system underneath, so the
same run serves X11 and Wayland.

Usage: atspi_session.py --pid PID --controls CONTROLS_TSV [--timeout SECONDS]
Exit status 0 when the session passes, 1 with the reasons on stderr.
"""

import argparse
import csv
import sys
import time

import pyatspi

# Both are right for a one-line text box; which one Qt reports has changed
# between releases.
ROLES_OF_KIND = {
    "label": {"label"},
    "button": {"push button"},
    "textbox": {"text", "entry"},
}
LISTS = ("actors", "objects", "verbs", "adjectives")
WINDOW_NAME = "Versomat"
PRESS = "Press"
GERMAN_PRESS_DESCRIPTION = "Aktion auslösen"
FUSION_SCROLL_BAR = 14
# Qt answers a press action with an animated click, released about 100 ms
# later, so every press is followed by waiting for its effect. The waits
# share one deadline for the whole session.
POLL = 0.05
FIRST_HEADING = "Poem-Text 1"
# A replaced text can be read half done (the old text gone, the new one not
# all in yet); it counts once it holds still this long.
SETTLE = 0.2


class Failure(Exception):
    pass


def read_controls(path):
    """The control table's rows as dicts keyed by the header line; columns
    beyond the ones used here are ignored."""
    with open(path, encoding="utf-8", newline="") as f:
        rows = list(csv.DictReader(f, delimiter="\t", quoting=csv.QUOTE_NONE))
    needed = {"name", "kind", "role", "list", "accessibleName", "hiddenAtStart"}
    if not rows or not needed <= rows[0].keys():
        raise Failure(f"{path} has no rows or lacks a column of {sorted(needed)}")
    for row in rows:
        if row["kind"] not in ROLES_OF_KIND:
            raise Failure(f"{path}: control {row['name']} has the unknown kind {row['kind']!r}")
    return rows


def poll(what, deadline, probe):
    """Calls probe until it returns something true, and returns that."""
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(POLL)


def find_window(pid, deadline):
    def probe():
        # An application registers a moment after it starts, and the desktop
        # may list applications that have gone meanwhile.
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is None or app.get_process_id() != pid:
                    continue
                for child in app:
                    if child is not None and child.name == WINDOW_NAME and showing(child):
                        return child
            except Exception:
                continue
        return None

    return poll(f"process {pid} to show its window {WINDOW_NAME!r} to AT-SPI", deadline, probe)


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def named_descendants(root):
    found = {}
    stack = [root]
    while stack:
        accessible = stack.pop()
        for child in accessible:
            if child is None:
                continue
            if child.name:
                found.setdefault(child.name, []).append(child)
            stack.append(child)
    return found


def check_controls(window, controls):
    """Every control must be there exactly once under its name with a role of
    its kind; a control hidden at start may be missing but must not show."""
    named = named_descendants(window)
    problems = []
    by_role = {}
    for row in controls:
        name = row["accessibleName"]
        wanted = ROLES_OF_KIND[row["kind"]]
        candidates = named.get(name, [])
        matches = [a for a in candidates if a.getRoleName() in wanted]
        hidden = row["hiddenAtStart"] == "1"
        if len(matches) > 1:
            problems.append(f"{len(matches)} controls are named {name!r}; a listener cannot tell {row['name']} apart")
        elif not matches and not (hidden and not candidates):
            roles = sorted({a.getRoleName() for a in candidates}) or ["no control at all"]
            problems.append(f"{row['name']}: wanted {name!r} as {' or '.join(sorted(wanted))}, found {', '.join(roles)}")
        elif matches and showing(matches[0]) == hidden:
            problems.append(f"{row['name']} ({name!r}) is {'shown' if hidden else 'hidden'} at start")
        if matches:
            by_role[(row["role"], row["list"])] = matches[0]
    if problems:
        raise Failure("the window does not expose its controls as it should:\n  " + "\n  ".join(problems))
    return by_role


def text_of(accessible):
    text = accessible.queryText()
    return text.getText(0, text.characterCount)


def press(button, watched, what, deadline):
    """Presses button through its action and waits until watched shows a
    different text that holds still; returns that text."""
    before = text_of(watched)
    actions = button.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if PRESS not in names:
        raise Failure(f"{button.name!r} offers no {PRESS!r} action, only {names}")
    if not actions.doAction(names.index(PRESS)):
        raise Failure(f"{button.name!r} refused its {PRESS!r} action")

    def changed():
        now = text_of(watched)
        return now if now != before else None

    shown = poll(f"{what} after pressing {button.name!r} (it still shows {before!r})", deadline, changed)
    while True:
        time.sleep(SETTLE)
        now = text_of(watched)
        if now == shown:
            return shown
        if time.monotonic() > deadline:
            raise Failure(f"{what} after pressing {button.name!r}: the text never held still")
        shown = now


def check_setup(window, button):
    """What the program sets up beyond its window, seen from outside: Qt's own
    texts in German (the press action's description, "Triggers the action"
    without them), and the Fusion style, although the session asks for the
    Windows style in QT_STYLE_OVERRIDE: Fusion's scroll bars are 14 pixels
    thick, the Windows style's 16."""
    problems = []
    actions = button.queryAction()
    descriptions = {actions.getName(i): actions.getDescription(i) for i in range(actions.nActions)}
    if descriptions.get(PRESS) != GERMAN_PRESS_DESCRIPTION:
        problems.append(f"Qt's own texts are not German: {button.name!r} describes {PRESS!r} as "
                        f"{descriptions.get(PRESS)!r}, not {GERMAN_PRESS_DESCRIPTION!r}")
    thickness = set()
    stack = [window]
    while stack:
        for child in stack.pop():
            if child is not None and showing(child):
                if child.getRoleName() == "scroll bar":
                    extents = child.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
                    thickness.add(min(extents.width, extents.height))
                stack.append(child)
    if thickness != {FUSION_SCROLL_BAR}:
        problems.append(f"the style is not Fusion: its scroll bars would be {FUSION_SCROLL_BAR} pixels thick, "
                        f"these are {sorted(thickness) or 'not shown'}")
    if problems:
        raise Failure("the program's set-up is wrong:\n  " + "\n  ".join(problems))


def control(by_role, role, word_list="-"):
    try:
        return by_role[(role, word_list)]
    except KeyError:
        raise Failure(f"the control table names no control of role {role!r} for list {word_list!r}") from None


def run(args):
    deadline = time.monotonic() + args.timeout
    controls = read_controls(args.controls)
    window = find_window(args.pid, deadline)
    by_role = check_controls(window, controls)
    check_setup(window, control(by_role, "generate"))

    for word_list in LISTS:
        press(control(by_role, "example", word_list), control(by_role, "box", word_list),
              f"the {word_list}' box to fill", deadline)
        press(control(by_role, "accept", word_list), control(by_role, "mark", word_list),
              f"the {word_list}' mark to change", deadline)

    poem = press(control(by_role, "generate"), control(by_role, "output"), "a poem", deadline)
    lines = poem.split("\n")
    if lines[0] != FIRST_HEADING or len(lines) < 2 or not lines[-1]:
        raise Failure(f"the output box should show poem 1, a heading and at least one line, it shows {poem!r}")
    print(f"AT-SPI session passed: {len(controls)} controls checked, poem 1 read from the output box")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pid", type=int, required=True, help="process id of the running program")
    parser.add_argument("--controls", required=True, help="tab-separated control table with a header line")
    parser.add_argument("--timeout", type=float, default=60, help="seconds for the whole session")
    args = parser.parse_args()
    try:
        run(args)
    except Failure as failure:
        print(f"AT-SPI session FAILED: {failure}", file=sys.stderr)
        return 1
    except Exception as error:  # a D-Bus error from pyatspi, mostly: the program went away
        print(f"AT-SPI session FAILED: {type(error).__name__}: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
