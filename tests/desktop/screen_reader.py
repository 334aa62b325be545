#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads Quorblex Pro over the AT-SPI bus the way a screen reader does.

Finds the program's main window, presses its Scan button through the button's accessible
action, listens for what a reader would be told while the scan runs, and prints the main
window's and the Scan Results dialog's accessible trees once the results are in. Every wait is
bounded; the exit status is 0 when the results dialog was read, 1 otherwise (with the reason on
standard error).

Output, one item a line:
  tree WINDOW|DEPTH|ROLE|NAME|DESCRIPTION|LABELLED-BY|VALUE|STATES
  heard EVENT ROLE|NAME   (a notification shown, a name changed)
"""
import sys
import time

try:
    import pyatspi
    from gi.repository import GLib
except ImportError as e:
    print("python3-pyatspi is missing: %s" % e, file=sys.stderr)
    sys.exit(3)

APP = "Quorblex Pro"
STOP_AFTER_FIRST = ("None Detected", "You are an alien!")


def fail(why):
    print(why, file=sys.stderr)
    sys.exit(1)


def app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        if a is not None and a.name == APP:
            return a
    return None


def window(title):
    a = app()
    if a is None:
        return None
    for i in range(a.childCount):
        w = a.getChildAtIndex(i)
        if w is not None and w.name == title:
            return w
    return None


def descendants(obj):
    for i in range(obj.childCount):
        c = obj.getChildAtIndex(i)
        if c is None:
            continue
        yield c
        yield from descendants(c)


def line(obj):
    labelled = ""
    for r in obj.getRelationSet():
        if r.getRelationType() == pyatspi.RELATION_LABELLED_BY and r.getNTargets():
            labelled = r.getTarget(0).name
    value = ""
    try:
        v = obj.queryValue()
        value = "%g %g %g" % (v.currentValue, v.minimumValue, v.maximumValue)
    except NotImplementedError:
        pass
    states = obj.getState()
    flags = ",".join(name for name, s in (("showing", pyatspi.STATE_SHOWING),
                                          ("checked", pyatspi.STATE_CHECKED),
                                          ("focused", pyatspi.STATE_FOCUSED),
                                          ("sensitive", pyatspi.STATE_SENSITIVE))
                     if states.contains(s))
    return "|".join([obj.getRoleName(), obj.name, obj.description, labelled, value, flags])


def print_tree(title, root):
    print("tree %s|0|%s" % (title, line(root)))
    stack = [(root, 0)]
    while stack:
        obj, depth = stack.pop()
        children = [obj.getChildAtIndex(i) for i in range(obj.childCount)]
        for c in reversed([c for c in children if c is not None]):
            stack.append((c, depth + 1))
        if obj is not root:
            print("tree %s|%d|%s" % (title, depth, line(obj)))


def wait_for(what, test, seconds):
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        found = test()
        if found:
            return found
        time.sleep(0.05)
    fail("gave up waiting for " + what)


def press(root, name):
    for obj in descendants(root):
        if obj.getRoleName() == "push button" and obj.name == name:
            action = obj.queryAction()
            for i in range(action.nActions):
                if action.getName(i) == "Press":
                    return action.doAction(i)
    fail("no button %r with a Press action" % name)


def results_in(dialog):
    values = {}
    for obj in descendants(dialog):
        rel = [r for r in obj.getRelationSet() if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
        if obj.getRoleName() == "label" and rel:
            values[rel[0].getTarget(0).name] = obj.name
    first = values.get("Alien Presence:", "")
    return first in STOP_AFTER_FIRST or values.get("Abduction Probability:", "") != ""


def main():
    main_window = wait_for("the main window on the accessibility bus", lambda: window(APP), 20)
    print_tree(APP, main_window)
    sys.stdout.flush()

    def heard(event):
        role = event.source.getRoleName()
        if event.type.startswith("object:state-changed:showing") and not event.detail1:
            return
        print("heard %s %s|%s" % (event.type, role, event.source.name))
        sys.stdout.flush()

    pyatspi.Registry.registerEventListener(
        heard, "object:state-changed:showing", "object:property-change:accessible-name")

    outcome = {}
    deadline = time.monotonic() + 60

    def poll():
        if time.monotonic() > deadline:
            outcome["error"] = "the scan results never came in"
            pyatspi.Registry.stop()
            return False
        dialog = window("Scan Results")
        if dialog is not None and results_in(dialog):
            outcome["dialog"] = dialog
            # Events still on their way are heard before the tree is read.
            GLib.timeout_add(300, lambda: pyatspi.Registry.stop() and False)
            return False
        return True

    press(main_window, "Scan")
    GLib.timeout_add(50, poll)
    pyatspi.Registry.start()
    if "error" in outcome:
        fail(outcome["error"])
    print_tree("Scan Results", outcome["dialog"])
    return 0


if __name__ == "__main__":
    sys.exit(main())
