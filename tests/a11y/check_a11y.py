#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader finds in the running program, and what it hears while the keyboard
alone does the whole job. Started by check-a11y.sh, which provides the display and the buses."""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

results = {"passed": 0, "failed": 0}
events = []


def check(what, ok, detail=""):
    results["passed" if ok else "failed"] += 1
    print(("PASS  " if ok else "FAIL  ") + what + ("" if ok else f"  ({detail})"), flush=True)


def pump(seconds):
    """Lets the bus deliver what is pending, for at most that long."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        if not context.iteration(False):
            time.sleep(0.02)


def wait_until(condition, seconds=5):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump(0.1)
        if condition():
            return True
    return condition()


def keys(*names):
    for name in names:
        subprocess.run(["xdotool", "key", "--delay", "80", name], check=True, timeout=10)
        pump(0.3)


def nodes(root):
    for child in root:
        if child is None:
            continue
        yield child
        yield from nodes(child)


def find(root, role, name):
    return next((n for n in nodes(root) if n.getRoleName() == role and n.name == name), None)


def has(node, state):
    return node is not None and node.getState().contains(state)


def text_of(node):
    try:
        return node.queryText().getText(0, -1)
    except NotImplementedError:
        return None


def says(item_list, entry):
    """What a screen reader reads of a drop-down list: its text, or else its description."""
    return text_of(item_list) == entry or item_list.description == entry


def showing_nodes(root):
    for child in root:
        if child is not None and has(child, pyatspi.STATE_SHOWING):
            yield child
            yield from showing_nodes(child)


def place(node):
    """Where a control lies in the window and how large it is, in pixels."""
    if node is None:
        return None
    box = node.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
    return (box.x, box.y, box.width, box.height)


def check_places(window, table):
    """The places of the layout, as the real window shows them to the user. A check box tells
    only its box and caption, centred on its own height: its left edge and middle are compared."""
    for role, name, expected in table:
        where = place(window if role == "frame" else find(window, role, name))
        if role == "check box" and where is not None:
            x, y, _, height = expected
            expected = (x, y + height / 2)
            where = (where[0], where[1] + where[3] / 2)
        check(f'{role} "{name}" lies at {expected}', where == expected, where)


def focused(window):
    # The toolkit marks the current entry of a list as focused even inside a closed drop-down,
    # and as showing too, so only a node whose every ancestor is showing counts.
    node = next((n for n in showing_nodes(window) if has(n, pyatspi.STATE_FOCUSED)), None)
    return (node.getRoleName(), node.name) if node else None


def focus_is(window, role, name):
    return wait_until(lambda: focused(window) == (role, name))


def entries(item_list):
    """The open list's entries as (name, selected), from the list beside its "Find item" field."""
    shown = next((n for n in nodes(item_list) if n.getRoleName() == "list"), None)
    return [(n.name, has(n, pyatspi.STATE_SELECTED)) for n in shown or [] if n is not None]


def do_action(node, name):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    return name in names and actions.doAction(names.index(name))


def listen(event):
    def read(get):
        try:
            return get()
        except Exception:  # the object may be gone by the time the event is read
            return None
    payload = event.any_data
    if not isinstance(payload, str):
        payload = read(lambda: event.any_data.name)
    events.append((event.type, read(event.source.getRoleName), payload,
                   read(lambda: event.source.name)))


def seen(kind, source_role, payload):
    return any(t.startswith(kind) and r == source_role and payload in (p, any)
               for t, r, p, _ in events)


def first_news(since, source, kinds):
    """The first of these kinds of event told of that control after events[since]."""
    return next((t for t, _, _, n in events[since:] if n == source and t.startswith(kinds)), None)


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    app = None
    end = time.monotonic() + 15
    while app is None and time.monotonic() < end:
        app = next((a for a in desktop if a is not None and a.name == "quennel"), None)
        pump(0.2)
    check("the program is on the accessibility bus", app is not None)
    if app is None:
        return
    # As a screen reader does: the toolkit tells of a control that leaves only to a listener of
    # state changes.
    for kind in ("object:children-changed", "object:text-changed", "object:state-changed",
                 "object:text-caret-moved"):
        pyatspi.Registry.registerEventListener(listen, kind)
    window = app[0]
    check('the window is the frame "Quennel"',
          (window.getRoleName(), window.name) == ("frame", "Quennel"),
          f"{window.getRoleName()} {window.name!r}")

    for role, name in [("combo box", "Item, row 1"), ("text", "ID, row 1"),
                       ("text", "Selling price, row 1"), ("text", "Buying price, row 1"),
                       ("text", "Generated buying price, row 1"), ("text", "Trade code"),
                       ("push button", "Add row"), ("push button", "Remove last row"),
                       ("push button", "Generate"), ("push button", "Options"),
                       ("push button", "Copy to Clipboard"), ("push button", "Close options"),
                       ("check box", "Use generated buying price"),
                       ("check box", "Generate buying code"),
                       ("check box", "Generate selling code"),
                       ("scroll bar", "Percent of buying price"), ("panel", "Options")]:
        check(f'{role} "{name}" is there', find(window, role, name) is not None)

    check_places(window, [
        ("frame", "Quennel", (0, 0, 815, 703)),
        ("label", "Vorlinde", (40, 8, 265, 41)),
        ("label", "Selling price", (312, 40, 233, 17)),
        ("label", "Buying price", (560, 40, 233, 17)),
        ("combo box", "Item, row 1", (40, 64, 201, 21)),
        ("text", "ID, row 1", (248, 64, 49, 19)),
        ("text", "Selling price, row 1", (312, 64, 233, 19)),
        ("text", "Buying price, row 1", (560, 64, 233, 19)),
        ("text", "Generated buying price, row 1", (560, 64, 233, 19)),
        ("push button", "Add row", (40, 96, 25, 25)),
        ("push button", "Remove last row", (72, 96, 25, 25)),
        ("filler", "Bottom panel", (0, 584, 817, 121)),
        ("text", "Trade code", (24, 608, 489, 81)),
        ("push button", "Generate", (520, 608, 153, 57)),
        ("push button", "Options", (680, 608, 129, 57)),
        ("push button", "Copy to Clipboard", (520, 672, 289, 17)),
    ])
    panel = find(window, "panel", "Options")
    check("the closed options panel is not showing", not has(panel, pyatspi.STATE_SHOWING))
    check("its check boxes are not showing", not any(
        has(n, pyatspi.STATE_SHOWING) for n in nodes(panel) if n.getRoleName() == "check box"))
    covered = find(window, "text", "Buying price, row 1")
    check("the covered buying price box is not focusable",
          not has(covered, pyatspi.STATE_FOCUSABLE))
    check("the generated buying price box over it is focusable",
          has(find(window, "text", "Generated buying price, row 1"), pyatspi.STATE_FOCUSABLE))

    item = find(window, "combo box", "Item, row 1")
    check("the focus starts on the item list of row 1",
          focus_is(window, "combo box", "Item, row 1"), focused(window))
    check("with item lists that speak: the item list reads its chosen item (Apple)",
          says(item, "Apple"), f"text {text_of(item)!r}, description {item.description!r}")
    keys("Down")
    check("Down chooses the next item, and the ID box shows its id",
          wait_until(lambda: text_of(find(window, "text", "ID, row 1")) == "7"))
    check("with item lists that speak: the item list reads the item now chosen (Bread)",
          wait_until(lambda: says(item, "Bread")),
          f"text {text_of(item)!r}, description {item.description!r}")

    check("closed, the item list is expandable and not expanded",
          has(item, pyatspi.STATE_EXPANDABLE) and not has(item, pyatspi.STATE_EXPANDED))
    actions = item.queryAction()
    bindings = {actions.getName(i): actions.getKeyBinding(i) for i in range(actions.nActions)}
    check('its "ShowMenu" action names the key that opens the list, Alt+Down',
          "Alt+Down" in bindings.get("ShowMenu", ""), bindings)
    check('its "ShowMenu" action opens the list', do_action(item, "ShowMenu") and
          wait_until(lambda: has(item, pyatspi.STATE_EXPANDED)))
    check('with the typing in a "Find item" field', focus_is(window, "text", "Find item"),
          focused(window))
    # Typed text narrows the entries to the names holding it anywhere, the first one highlighted.
    for typed, shown in [("", [("Apple", False), ("Bread", True), ("Cheese", False)]),
                         ("e", [("Apple", True), ("Bread", False), ("Cheese", False)]),
                         ("ee", [("Cheese", True)])]:
        keys(*typed[-1:])
        check(f"after typing {typed!r} the open list shows {shown}",
              wait_until(lambda: entries(item) == shown), entries(item))
    keys("x")
    notice = find(item, "notification", "Find item")
    check('typed on to no match, the list is empty and "No item matches" is told',
          wait_until(lambda: entries(item) == [] and
                     seen("object:state-changed:showing", "notification", "Find item"))
          and notice is not None and notice.description == "No item matches",
          f"{entries(item)}, {notice and notice.description!r}")
    keys("BackSpace")
    check("Backspace brings the match back and withdraws the notice", wait_until(
        lambda: entries(item) == [("Cheese", True)] and
        not has(notice, pyatspi.STATE_SHOWING)), entries(item))
    keys("Return")
    check("Return picks the highlighted entry and closes the list", wait_until(
        lambda: text_of(item) == "Cheese" and not has(item, pyatspi.STATE_EXPANDED)),
          f"text {text_of(item)!r}")
    check("the focus is back on the item list, the ID box shows the entry's id",
          focus_is(window, "combo box", "Item, row 1") and
          wait_until(lambda: text_of(find(window, "text", "ID, row 1")) == "21"), focused(window))
    keys("Up")
    check("Up with the list closed chooses the entry before",
          wait_until(lambda: text_of(item) == "Bread"), text_of(item))

    since = len(events)
    keys("Tab", "Tab")
    check("Tab reaches the selling price box, its hint gone for typing",
          focus_is(window, "text", "Selling price, row 1") and
          wait_until(lambda: text_of(find(window, "text", "Selling price, row 1")) == ""),
          focused(window))
    # A screen reader takes a caret moved in a box for the focus arriving there, and then says
    # nothing when it hears of the focus itself.
    first = first_news(since, "Selling price, row 1",
                       ("object:state-changed:focused", "object:text-caret-moved"))
    check("the box's focus is told before any caret move in it as its hint goes",
          first == "object:state-changed:focused", first)
    keys("2", "5", "0", "Tab")
    check("Tab after the selling price skips the covered box",
          focus_is(window, "text", "Generated buying price, row 1"), focused(window))
    keys("Tab")
    check('then reaches "+"', focus_is(window, "push button", "Add row"), focused(window))
    keys("Return")
    check("Return on \"+\" adds row 2, with its names",
          wait_until(lambda: find(window, "combo box", "Item, row 2") is not None and
                     find(window, "text", "Generated buying price, row 2") is not None))
    row2 = find(window, "combo box", "Item, row 2")
    check("the new row's item list reads its first item and is expandable",
          text_of(row2) == "Apple" and has(row2, pyatspi.STATE_EXPANDABLE), text_of(row2))
    check("the new row joins the window as children-changed",
          wait_until(lambda: seen("object:children-changed:add", "frame", "Item, row 2")))
    check("the new row's covered buying price box is not focusable",
          not has(find(window, "text", "Buying price, row 2"), pyatspi.STATE_FOCUSABLE))

    keys("Tab", "Tab", "Return")
    code = "7/1/0/,250.0,true,;7/1/0/,250.0,false,;12/1/0/,250.0,true,;12/1/0/,250.0,false,"
    output = find(window, "text", "Trade code")
    check("Return on \"Generate\" writes the trade code", wait_until(
        lambda: text_of(output) == code), repr(text_of(output)))
    check("the trade code reaches the screen reader as text-changed",
          wait_until(lambda: seen("object:text-changed:insert", "text", code)))
    # A screen reader presents a text change only in the focused control, and the focus stays on
    # "Generate": a notification that shows is presented wherever the focus is.
    notice = find(window, "notification", "Trade code")
    check("and as a notification that shows, the trade code its description",
          wait_until(lambda: seen("object:state-changed:showing", "notification", "Trade code"))
          and notice is not None and notice.description == code,
          notice and notice.description)
    since = len(events)
    keys("ctrl+shift+c")
    pump(1)
    check('"Copy to Clipboard" tells the trade code no second time',
          first_news(since, "Trade code", ("object:state-changed:showing",
                                           "object:text-changed")) is None)
    copied = find(window, "notification", "Copy to Clipboard")
    said = f"Copied {len(code)} characters"
    check("it tells the copy as a notification that shows, the count its description",
          wait_until(lambda: seen("object:state-changed:showing", "notification",
                                  "Copy to Clipboard"))
          and copied is not None and copied.description == said, copied and copied.description)

    keys("Tab", "Tab")
    check('"Options" is two Tabs after "Generate"',
          focus_is(window, "push button", "Options"), focused(window))
    keys("Return")
    check("Return on \"Options\" shows the panel",
          wait_until(lambda: has(panel, pyatspi.STATE_SHOWING)))
    check("and puts the focus on its first check box",
          focus_is(window, "check box", "Use generated buying price"), focused(window))
    check_places(window, [
        ("panel", "Options", (240, 168, 329, 289)),
        ("push button", "Close options", (544, 176, 17, 17)),
        ("label", "Options", (272, 192, 257, 41)),
        ("check box", "Use generated buying price", (272, 248, 257, 33)),
        ("check box", "Generate buying code", (272, 288, 257, 33)),
        ("check box", "Generate selling code", (272, 328, 257, 33)),
        ("label", "Percent of buying price", (272, 392, 257, 25)),
        ("label", "100 %", (469, 392, 60, 25)),
        ("scroll bar", "Percent of buying price", (272, 416, 257, 25)),
    ])
    round_trip = []
    for _ in range(5):
        before = focused(window)
        keys("Tab")
        wait_until(lambda: focused(window) != before)
        round_trip.append(focused(window)[1] if focused(window) else None)
    check("Tab goes round the panel's own controls",
          round_trip == ["Generate buying code", "Generate selling code",
                         "Percent of buying price", "Close options",
                         "Use generated buying price"], round_trip)
    keys("shift+Tab", "Return")
    check('Return on "X" closes the panel', wait_until(
        lambda: not has(panel, pyatspi.STATE_SHOWING)))
    check('and puts the focus back on "Options"',
          focus_is(window, "push button", "Options"), focused(window))

    keys("Return")
    wait_until(lambda: has(panel, pyatspi.STATE_SHOWING))
    keys("Escape")
    check("with the keyboard shortcuts: Escape closes the panel",
          wait_until(lambda: not has(panel, pyatspi.STATE_SHOWING)))
    check('with the keyboard shortcuts: Escape puts the focus back on "Options"',
          focus_is(window, "push button", "Options"), focused(window))
    if has(panel, pyatspi.STATE_SHOWING):
        keys("shift+Tab", "Return")  # "X", so that "-" works

    keys("shift+Tab", "shift+Tab", "shift+Tab")
    check('"-" is three Shift+Tabs before "Options"',
          focus_is(window, "push button", "Remove last row"), focused(window))
    keys("Return")
    check('Return on "-" removes row 2',
          wait_until(lambda: find(window, "combo box", "Item, row 2") is None))
    check("the row leaves the window as children-changed",
          wait_until(lambda: seen("object:children-changed:remove", "frame", any)))


if __name__ == "__main__":
    try:
        main()
    except Exception as error:  # a broken bus or tree is a failure, not a crash without a count
        check("the check ran to its end", False, repr(error))
    print(f"{results['passed']} passed, {results['failed']} failed")
    sys.exit(1 if results["failed"] else 0)
