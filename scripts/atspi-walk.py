#!/usr/bin/python3
"""Reads the running tallybrook-control window the way a screen reader does (AT-SPI).

Prints the accessible tree (role, name, description) and lists every interactive element
without a name; exits 1 when there is one. Run the window with accessibility on, in the same
D-Bus session, for example:

    dbus-run-session -- sh -c '
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 xvfb-run -a build/dev/tallybrook-control FILE &
        sleep 5; /usr/bin/python3 scripts/atspi-walk.py --pages --cells 24'

Not run by CI: it needs a display server and the accessibility bus.
"""

import argparse
import sys
import time

import pyatspi

INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_LIST_ITEM,
    pyatspi.ROLE_COLUMN_HEADER, pyatspi.ROLE_PAGE_TAB,
    pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_SCROLL_PANE, pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE,
}


def find_application(name, wait):
    deadline = time.time() + wait
    while True:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and name.lower() in (app.name or "").lower():
                return app
        if time.time() > deadline:
            return None
        time.sleep(0.5)


def walk(node, depth, args, problems, path):
    try:
        role = node.getRole()
        role_name = node.getRoleName()
        name = node.name or ""
        description = node.description or ""
        states = node.getState()
    except Exception:  # the element went away while we read it
        return
    showing = states.contains(pyatspi.STATE_SHOWING)
    focusable = states.contains(pyatspi.STATE_FOCUSABLE)
    here = path + [f"{role_name}:{name}"]
    if args.all or showing:
        line = "  " * depth + f"[{role_name}] {name!r}"
        if description:
            line += f"  ({description})"
        if states.contains(pyatspi.STATE_CHECKED):
            line += "  checked"
        print(line)
        # A table cell may be blank (nothing drawn in it); it is read as such.
        if (role in INTERACTIVE or focusable) and role != pyatspi.ROLE_TABLE_CELL and not name.strip():
            problems.append(" / ".join(here))
    limit = args.cells if role in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE) else None
    count = node.childCount
    for index in range(count if limit is None else min(count, limit)):
        child = node.getChildAtIndex(index)
        if child is not None:
            walk(child, depth + 1, args, problems, here)


def select(list_node, index):
    """Selects a list row the way assistive technology can: selection, action or focus."""
    try:
        list_node.querySelection().selectChild(index)
        return
    except NotImplementedError:
        pass
    item = list_node.getChildAtIndex(index)
    try:
        action = item.queryAction()
        if action.nActions > 0:
            action.doAction(0)
            return
    except NotImplementedError:
        pass
    item.queryComponent().grabFocus()


def sidebar_destinations(app):
    """(list, index, name) of every list item under a list, in the tree's order."""
    found = []

    def visit(node):
        try:
            role = node.getRole()
        except Exception:
            return
        if role in (pyatspi.ROLE_TABLE, pyatspi.ROLE_COMBO_BOX):
            return  # tables and menus hold no destinations
        if role == pyatspi.ROLE_LIST:
            for index in range(node.childCount):
                child = node.getChildAtIndex(index)
                if child is not None and child.getRole() == pyatspi.ROLE_LIST_ITEM:
                    found.append((node, index, child.name))
            return
        for index in range(node.childCount):
            child = node.getChildAtIndex(index)
            if child is not None:
                visit(child)

    visit(app)
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--app", default="Tallybrook Control", help="application name to look for")
    parser.add_argument("--wait", type=float, default=20, help="seconds to wait for the application")
    parser.add_argument("--cells", type=int, default=40, help="children read per table")
    parser.add_argument("--all", action="store_true", help="also elements not on screen")
    parser.add_argument("--pages", action="store_true",
                        help="select every sidebar destination in turn and read each page")
    args = parser.parse_args()
    app = find_application(args.app, args.wait)
    if app is None:
        print(f"no application named {args.app} on the accessibility bus", file=sys.stderr)
        return 2
    problems = []
    if args.pages:
        for destination in sidebar_destinations(app):
            list_node, index, name = destination
            select(list_node, index)
            time.sleep(1.5)
            print(f"\n===== {name} =====")
            walk(app, 0, args, problems, [name])
    else:
        walk(app, 0, args, problems, [])
    if problems:
        print(f"\n{len(problems)} interactive element(s) without a name:", file=sys.stderr)
        for problem in problems:
            print("  " + problem, file=sys.stderr)
        return 1
    print("\nevery interactive element has a name")
    return 0


if __name__ == "__main__":
    sys.exit(main())
