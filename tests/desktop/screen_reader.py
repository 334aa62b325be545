#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
"""Walks through Quorblex Pro the way a blind user with Orca does, and prints what Orca says.

The walk: start; Tab round the main window; a full scan (Alt+S) to its results; Enter; Setup
(Alt+T) opened, its first box toggled with Space, closed with Escape; the About box (Alt+A)
opened and closed with Enter; Minimize (Alt+M), after which the main window must have left the
accessibility tree. Keys go in through xdotool, as a user's would.

What Orca says comes from the events on the AT-SPI bus that make Orca speak, turned into words
by the rules Orca 43 follows for the roles this program uses (class Orca below): a window that
becomes active is read with its loose texts, the object that gets the focus with its role and
description, a notification that shows by its words after whatever it lies in that has words
of its own, and the new state of a focused checkbox. Orca works through its events a little
after they come and asks the program about each object as it does; so does this reader, which
is why a window that is active only for a moment between two dialogs is not read.

Every wait is bounded; the exit status is 0 when the walk was made, 1 otherwise (with the reason
on standard error). Output, one item a line:
  listening                    the reader hears the bus: start the program
  == STEP                      a step of the walk begins
  said WORDS                   one utterance of Orca's
  heard EVENT ROLE|NAME        an event the reader took in (for looking into a failure)
  gone WINDOW                  after Minimize: the window has left the accessibility tree
  tree WINDOW|DEPTH|ROLE|NAME|DESCRIPTION|LABELLED-BY|VALUE|STATES
"""
import collections
import subprocess
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
LAG = 1.0     # how long after an event the reader works it through
QUIET = 0.5   # a step is over when nothing more has come for this long
EVENTS = ("window:activate", "window:deactivate", "object:state-changed:active",
          "object:state-changed:focused", "object:state-changed:showing",
          "object:state-changed:checked")


def fail(why):
    print(why, file=sys.stderr)
    sys.exit(1)


def out(line):
    print(line)
    sys.stdout.flush()


# ---- Looking at objects ---------------------------------------------------------------------

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
        if w is not None and w.name == title and w.getRoleName() == "dialog":
            return w
    return None


def children(obj):
    return [c for c in (obj.getChildAtIndex(i) for i in range(obj.childCount)) if c is not None]


def descendants(obj):
    for c in children(obj):
        yield c
        yield from descendants(c)


def has(obj, state):
    return obj.getState().contains(state)


def labelled_by(obj):
    for r in obj.getRelationSet():
        if r.getRelationType() == pyatspi.RELATION_LABELLED_BY and r.getNTargets():
            return r.getTarget(0).name
    return ""


def dead(obj):
    try:
        return obj is None or has(obj, pyatspi.STATE_DEFUNCT) or obj.getRole() is None
    except Exception:
        return True


def line(obj):
    value = ""
    try:
        v = obj.queryValue()
        value = "%g %g %g" % (v.currentValue, v.minimumValue, v.maximumValue)
    except NotImplementedError:
        pass
    flags = ",".join(name for name, s in (("showing", pyatspi.STATE_SHOWING),
                                          ("checked", pyatspi.STATE_CHECKED),
                                          ("focused", pyatspi.STATE_FOCUSED),
                                          ("sensitive", pyatspi.STATE_SENSITIVE))
                     if has(obj, s))
    return "|".join([obj.getRoleName(), obj.name, obj.description, labelled_by(obj), value,
                     flags])


def print_tree(title, root):
    out("tree %s|0|%s" % (title, line(root)))
    stack = [(c, 1) for c in reversed(children(root))]
    while stack:
        obj, depth = stack.pop()
        out("tree %s|%d|%s" % (title, depth, line(obj)))
        stack.extend((c, depth + 1) for c in reversed(children(obj)))


def main_window_gone():
    """The main window is no longer among the program's windows a screen reader can reach, or
    no longer shows there; the program itself is still on the bus."""
    a = app()
    if a is None:
        return False
    w = window(APP)
    return w is None or dead(w) or not has(w, pyatspi.STATE_SHOWING)


def results_in(dialog):
    values = {}
    for obj in descendants(dialog):
        if obj.getRoleName() == "label" and labelled_by(obj):
            values[labelled_by(obj)] = obj.name
    first = values.get("Alien Presence:", "")
    return first in STOP_AFTER_FIRST or values.get("Abduction Probability:", "") != ""


# ---- What Orca says -------------------------------------------------------------------------

class Orca:
    """Orca 43's presentation of the events this program sends, for its roles: dialogs, push
    buttons, checkboxes, the slider, the animation, labels and notifications."""

    def __init__(self):
        self.queue = collections.deque()  # (arrival, type, source, detail1)
        self.last_arrival = 0.0
        self.heard = []                    # (type, role, name) of every event taken in
        self.active = None                 # the window Orca takes for the active one
        self.locus = None                  # the object Orca presents as having the focus
        self.checked = None                # the last checked change presented

    def listen(self, event):
        if event.type.startswith("object:state-changed:showing") and not event.detail1:
            return
        if event.type.startswith("object:state-changed:focused") and not event.detail1:
            return
        try:
            role, name = event.source.getRoleName(), event.source.name
        except Exception:
            return
        kind = event.type.split(":")[-1] if event.type.startswith("object:") else event.type
        self.heard.append((kind, role, name))
        out("heard %s %s|%s" % (event.type, role, name))
        self.queue.append((time.monotonic(), kind, event.source, event.detail1))
        self.last_arrival = time.monotonic()

    def work(self):
        """Works through the events that came at least LAG ago."""
        while self.queue and time.monotonic() - self.queue[0][0] >= LAG:
            _, kind, source, detail1 = self.queue.popleft()
            if dead(source):
                continue
            try:
                self.present(kind, source, detail1)
            except Exception as e:  # an object that went while it was looked at
                out("heard nothing more of it: %s" % e)

    def settled(self):
        return not self.queue and time.monotonic() - self.last_arrival >= QUIET

    def present(self, kind, source, detail1):
        role = source.getRoleName()
        if kind in ("window:activate", "active") and role == "dialog":
            if kind == "active" and not detail1:
                return
            if not self.can_be_active(source) or source == self.active:
                return
            self.active = source
            self.set_locus(source)
        elif kind == "focused":
            self.set_locus(source)  # Orca's Qt script follows a focus event whatever its states
        elif kind == "showing" and role == "notification":
            self.say_all(self.ancestors(source, None), stop=False)
            self.say(["notification", source.name])
        elif kind == "checked" and source == self.locus:
            if self.checked == (source, detail1):
                return
            self.checked = (source, detail1)
            out("said " + ("checked" if has(source, pyatspi.STATE_CHECKED) else "not checked"))

    @staticmethod
    def can_be_active(w):
        return (has(w, pyatspi.STATE_ACTIVE) and has(w, pyatspi.STATE_SHOWING)
                and not has(w, pyatspi.STATE_ICONIFIED))

    def set_locus(self, obj):
        if obj == self.locus:
            return
        prior, self.locus = self.locus, obj
        self.active = self.top_level(obj)
        self.say_all(self.ancestors(obj, prior), stop=False)
        self.say_all(self.speech(obj))

    @staticmethod
    def top_level(obj):
        while obj.parent is not None and obj.parent.getRoleName() != "application":
            obj = obj.parent
        return obj

    @staticmethod
    def chain(obj):
        """The objects above `obj` up to its window, nearest first."""
        up = []
        parent = obj.parent
        while parent is not None and parent.getRoleName() != "application":
            up.append(parent)
            parent = parent.parent
        return up

    @staticmethod
    def layout_only(obj):
        # An object with nothing to say of its own, or one that only repeats its one child.
        if obj.getRoleName() == "dialog":
            return False
        kids = children(obj)
        return not obj.name or (len(kids) == 1 and kids[0].name == obj.name)

    def ancestors(self, obj, prior):
        """What Orca says of the objects `obj` lies in, before `obj` itself: those it did not
        share with `prior`, or all of them in a dialog when there is no prior object."""
        if prior is not None and dead(prior):
            return []
        if prior is not None and prior.parent == obj.parent:
            return []
        if prior is None and self.top_level(obj).getRoleName() != "dialog":
            return []
        shared = self.chain(prior) + [prior] if prior is not None else []
        said = []
        for parent in self.chain(obj):
            if parent in shared:
                break
            if not self.layout_only(parent):
                said.append([self.words_of(parent)])
        return list(reversed(said))

    @staticmethod
    def words_of(obj):
        role = obj.getRoleName()
        if role == "label":
            return " ".join(w for w in (labelled_by(obj), obj.name, "label") if w)
        return "%s %s" % (obj.name, role)

    @staticmethod
    def loose_labels(dialog):
        """Orca's "unrelated labels": texts of three words or more that label nothing and are
        labelled by nothing, top to bottom and left to right."""
        found = []
        for obj in descendants(dialog):
            if obj.getRoleName() != "label" or obj.getRelationSet():
                continue
            if not has(obj, pyatspi.STATE_SHOWING) or len(obj.name.split()) < 3:
                continue
            if obj.name in dialog.name:
                continue
            box = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            found.append((box.y, box.x, obj.name))
        return [name for _, _, name in sorted(found)]

    def speech(self, obj):
        """What Orca says of the object that gets the focus: utterances, each a list of words."""
        role, name, description = obj.getRoleName(), obj.name, obj.description
        if role == "dialog":
            return [[name, "dialog"] + (self.loose_labels(obj) or [description])]
        if role == "push button":
            return [[name, "push button"], [description]]
        if role == "check box":
            return [[name, "check box",
                     "checked" if has(obj, pyatspi.STATE_CHECKED) else "not checked"]]
        if role == "slider":
            return [[name, "slider", "%g" % obj.queryValue().currentValue], [description]]
        if role == "animation":
            return [[name], [description]]
        return [[name, role]]

    def say_all(self, utterances, stop=True):
        for words in utterances:
            self.say(words, stop)

    @staticmethod
    def say(words, stop=True):
        """One utterance. Orca ends it with a full stop where it pauses, unless it has one; it
        does not pause after the objects it names on the way to the one it presents."""
        text = " ".join(w for w in words if w)
        if not text:
            return
        if stop and text[-1].isalnum():
            text += "."
        out("said " + text)


# ---- The walk -------------------------------------------------------------------------------

class Walk:
    def __init__(self):
        self.orca = Orca()
        self.context = GLib.MainContext.default()

    def wait(self, what, done, seconds, needed=False):
        """Lets events come and be worked through until `done` holds and the step is over. What
        is not needed for the rest of the walk is only noted when it does not come about."""
        until = time.monotonic() + seconds
        met = False
        while time.monotonic() < until:
            while self.context.pending():
                self.context.iteration(False)
            self.orca.work()
            met = met or done()
            if met and self.orca.settled():
                return
            time.sleep(0.02)
        if needed:
            fail("gave up waiting for " + what)
        out("waited in vain for " + what)
        self.wait("the events to be worked through", lambda: True, LAG + QUIET + 5, True)

    def step(self, title):
        out("== " + title)
        self.since = len(self.orca.heard)

    def heard_since(self, kind, name):
        return any(k == kind and n == name for k, _, n in self.orca.heard[self.since:])

    def key(self, keys, what, done, seconds=10, needed=False):
        if subprocess.run(["xdotool", "key", "--clearmodifiers", keys]).returncode != 0:
            fail("xdotool could not press " + keys)
        self.wait(what, done, seconds, needed)

    def run(self):
        for kind in EVENTS:
            pyatspi.Registry.registerEventListener(self.orca.listen, kind)
        out("listening")

        self.step("start")
        self.wait("the main window", lambda: self.heard_since("window:activate", APP), 30, True)
        print_tree(APP, window(APP))

        self.step("Tab round the main window")
        for _ in range(7):
            self.since = len(self.orca.heard)
            self.key("Tab", "the focus to move", lambda: self.heard_since_kind("focused"), 5)

        self.step("Alt+S: a full scan")
        self.key("alt+s", "the scan results",
                 lambda: window("Scan Results") is not None and results_in(window("Scan Results")),
                 60, True)
        print_tree("Scan Results", window("Scan Results"))

        self.step("Enter closes the results")
        self.key("Return", "the main window", lambda: self.heard_since("window:activate", APP))
        self.step("Alt+T: Setup")
        self.key("alt+t", "Setup", lambda: self.heard_since("window:activate", "Setup"))
        self.step("Space toggles Use Sounds")
        self.key("space", "the box to change", lambda: self.heard_since_kind("checked"))
        self.step("Escape closes Setup")
        self.key("Escape", "the main window", lambda: self.heard_since("window:activate", APP))
        self.step("Alt+A: the About box")
        self.key("alt+a", "the About box",
                 lambda: self.heard_since("window:activate", "About Quorblex Pro"))
        self.step("Enter closes the About box")
        self.key("Return", "the main window", lambda: self.heard_since("window:activate", APP))
        self.step("Alt+M: Minimize")
        self.key("alt+m", "the main window to leave the accessibility tree", main_window_gone,
                 needed=True)
        out("gone " + APP)
        return 0

    def heard_since_kind(self, kind):
        return any(k == kind for k, _, _ in self.orca.heard[self.since:])


if __name__ == "__main__":
    sys.exit(Walk().run())
