#!/usr/bin/env python3
"""Prints what a screen reader is told of a running Parlanta window: each accessible's role and name, indented.

    a11y-dump.py [--log-in "First Last"] [--out-login FILE] [--out-main FILE] [--timeout SECONDS]

It waits for the log-in window of the program called "parlanta" on the session's AT-SPI bus and writes its tree.
With --log-in it acts as a screen reader user would, through accessibility actions only: it creates that
student when the list lacks him or her (New, the name boxes, Store, OK), selects the student's face, writes the
log-in window's tree, presses Log in, waits for the main window and writes its tree too. Each dump ends with the number of controls and of those without a
name; the exit code is 1 when any control has no name. Run the program with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
in the same D-Bus session (dbus-run-session) as this script.
"""
import argparse
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# What a user acts on; each must be read out by a name.
CONTROLS = {"push button", "check box", "radio button", "toggle button", "combo box", "text", "password text",
            "entry", "list", "list item", "tree", "tree item", "page tab", "page tab list", "slider",
            "spin button", "link", "table", "tree table", "table cell"}


def children(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield child


def showing(node):
    return node.get_state_set().contains(Atspi.StateType.SHOWING)


def wait_for(find, timeout, what):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.3)
    sys.exit(f"a11y-dump: no {what} after {timeout} s")


def application():
    desktop = Atspi.get_desktop(0)
    return next((app for app in children(desktop) if app.get_name() == "parlanta"), None)


def window(app, test):
    return next((w for w in children(app) if showing(w) and test(w)), None)


def walk(node, depth=0):
    yield depth, node
    for child in children(node):
        if showing(child):
            yield from walk(child, depth + 1)


def dump(node, path):
    lines, controls, unnamed = [], 0, 0
    for depth, n in walk(node):
        role, name = n.get_role_name(), (n.get_name() or "").strip()
        mark = ""
        if role in CONTROLS:
            controls += 1
            if not name:
                unnamed += 1
                mark = "   <-- NO NAME"
        lines.append(f"{'  ' * depth}[{role}] {name!r}{mark}")
    lines.append(f"-- {controls} controls, {unnamed} without a name")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    print(f"{path}: {controls} controls, {unnamed} without a name")
    return unnamed


def find(node, role, name=None):
    for _, n in walk(node):
        if n.get_role_name() == role and (name is None or n.get_name() == name):
            return n
    return None


def act(node, *names):
    action = node.get_action_iface()
    for i in range(action.get_n_actions()):
        if action.get_action_name(i) in names:
            action.do_action(i)
            return
    sys.exit(f"a11y-dump: {node.get_name()!r} has none of the actions {names}")


def select_student(login, student):
    listing = find(login, "list")
    items = [item for item in children(listing) if item.get_role_name() == "list item"]
    index = next((i for i, item in enumerate(items) if item.get_name() == student), None)
    if index is not None:
        # The face's own action selects it, as a screen reader user would.
        act(items[index], "Toggle", "toggle")
    return index is not None


def create_student(app, login, student):
    buttons = [b for _, b in walk(login) if b.get_role_name() == "push button" and b.get_name()]
    # The second button of the row is New; its text is the interface language's.
    act(buttons[1], "Press", "press")
    form = wait_for(lambda: window(app, lambda w: w.get_role_name() == "dialog"), 10, "new student window")
    first, last = student.split(" ", 1)
    boxes = [n for _, n in walk(form) if n.get_role_name() == "text"]
    boxes[0].get_editable_text_iface().set_text_contents(first)
    boxes[1].get_editable_text_iface().set_text_contents(last)
    store = find(form, "push button")
    act(store, "Press", "press")
    # The first student becomes the administrator, and a message says so: its OK closes it. Nothing else is
    # pressed while a window waits for an answer, since an accessibility action goes past a modal window.
    def others():
        return [w for w in children(app) if showing(w) and find(w, "list") is None]
    end = time.monotonic() + 15
    while others() and time.monotonic() < end:
        notice = next((w for w in others() if find(w, "text") is None and find(w, "password text") is None), None)
        if notice is not None:
            act(find(notice, "push button"), "Press", "press")
        time.sleep(0.5)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--log-in", dest="student")
    parser.add_argument("--out-login", default="atspi-login.txt")
    parser.add_argument("--out-main", default="atspi-main.txt")
    parser.add_argument("--timeout", type=float, default=30)
    args = parser.parse_args()

    app = wait_for(application, args.timeout, "program 'parlanta' on the accessibility bus")
    # The log-in window is the one with the list of students.
    login = wait_for(lambda: window(app, lambda w: find(w, "list") is not None), args.timeout, "log-in window")
    time.sleep(1)
    if args.student and not select_student(login, args.student):
        create_student(app, login, args.student)
        wait_for(lambda: True if select_student(login, args.student) else None, 10, "new student in the list")
    unnamed = dump(login, args.out_login)
    if args.student:
        log_in = next(b for _, b in walk(login) if b.get_role_name() == "push button" and b.get_name())
        act(log_in, "Press", "press")
        main_window = wait_for(lambda: window(app, lambda w: find(w, "tree") is not None), args.timeout,
                               "main window")
        time.sleep(2)
        unnamed += dump(main_window, args.out_main)
    return 1 if unnamed else 0


if __name__ == "__main__":
    sys.exit(main())
