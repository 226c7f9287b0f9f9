"""What a screen reader finds in the running program, through AT-SPI: the main window, a flag
box's name, role and description, the Press action of that flag's description, the popup that
action opens (a tool tip, announced by the "showing" state change that screen readers speak),
and the About window's two pictures, each an image.

Run by atspi_session.sh with the program already started on a private accessibility bus.
Prints one line per check; exits 1 at the first that fails.
"""
import sys
import time

import pyatspi
from gi.repository import GLib

TITLE = "Orvan unk4 ver.2.2"
FLAG = "1024"  # flag 10


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def ok(message):
    print("ok: " + message)


def find(root, predicate):
    """The first accessible under root, depth first, for which predicate holds."""
    for i in range(root.childCount):
        child = root.getChildAtIndex(i)
        if child is None:
            continue
        if predicate(child):
            return child
        found = find(child, predicate)
        if found is not None:
            return found
    return None


def is_(role, name=None):
    return lambda a: a.getRole() == role and (name is None or a.name == name)


def top_window(title):
    """The program's window of that title, once the program has put it on the bus (bounded)."""
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is None:
                continue
            for k in range(app.childCount):
                window = app.getChildAtIndex(k)
                if window is not None and window.name == title:
                    return app, window
        time.sleep(0.1)
    fail("no window '%s' on the accessibility bus" % title)


def press(accessible):
    action = accessible.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        fail("'%s' offers %s, no Press" % (accessible.name, names))
    action.doAction(names.index("Press"))


class Showing:
    """Collects "showing" state changes until one matches, or a guard time runs out."""

    def __init__(self):
        self.seen = []
        self.wanted = None  # while the event loop runs for wait()
        pyatspi.Registry.registerEventListener(self.on_event, "object:state-changed:showing")

    def on_event(self, event):
        self.seen.append((event.detail1, event.source.getRole(), event.source.name))
        if self.wanted is not None and self.wanted(self.seen[-1]):
            pyatspi.Registry.stop()

    def wait(self, wanted, what):
        """Runs the event loop until an event satisfies wanted; the guard only ends a hang."""
        if not any(wanted(e) for e in self.seen):
            expired = []

            def guard():
                expired.append(True)
                pyatspi.Registry.stop()
                return False

            timer = GLib.timeout_add_seconds(10, guard)
            self.wanted = wanted
            pyatspi.Registry.start()
            self.wanted = None
            if not expired:
                GLib.source_remove(timer)
        match = [e for e in self.seen if wanted(e)]
        if not match:
            fail("no announcement of %s; seen: %s" % (what, self.seen))
        self.seen.clear()
        return match[-1]


def main():
    showing = Showing()  # listening before the program is asked anything
    app, window = top_window(TITLE)
    ok("application '%s', window '%s'" % (app.name, window.name))

    box = find(window, is_(pyatspi.ROLE_CHECK_BOX, FLAG))
    if box is None:
        fail("no check box named %s" % FLAG)
    description = box.description
    if not description:
        fail("check box %s has no description" % FLAG)
    ok("check box '%s', described as '%s'" % (box.name, description))

    label = find(window, is_(pyatspi.ROLE_LABEL, description))
    if label is None:
        fail("no label '%s'" % description)
    press(label)
    _, role, text = showing.wait(
        lambda e: e[0] == 1 and e[1] == pyatspi.ROLE_TOOL_TIP, "the explanation")
    if not text or text == description:
        fail("the popup is named '%s'" % text)
    ok("Press on '%s' showed a tool tip: '%s...'" % (description, text[:40]))

    # Another flag's explanation while this one is open: the open popup takes the new text and
    # is announced again.
    other = find(window, is_(pyatspi.ROLE_CHECK_BOX, "4096")).description
    press(find(window, is_(pyatspi.ROLE_LABEL, other)))
    _, _, second = showing.wait(
        lambda e: e[0] == 1 and e[1] == pyatspi.ROLE_TOOL_TIP and e[2] != text,
        "the second explanation")
    ok("Press on '%s' announced '%s...'" % (other, second[:40]))

    popup = find(window, is_(pyatspi.ROLE_TOOL_TIP))
    press(popup)
    showing.wait(lambda e: e[0] == 0 and e[1] == pyatspi.ROLE_TOOL_TIP, "the popup closing")
    ok("Press on the popup closed it")

    about = find(window, is_(pyatspi.ROLE_MENU_ITEM, "About Orvanunk4..."))
    if about is None:
        fail("no menu item 'About Orvanunk4...'")
    press(about)
    _, dialog = top_window("About Orvanunk4")
    images = []
    for name in ("Orvan unk4 picture", "Orvan unk4 icon"):
        picture = find(dialog, lambda a: a.name == name)
        if picture is None:
            fail("no '%s' in the About window" % name)
        if picture.getRole() != pyatspi.ROLE_IMAGE:
            fail("'%s' is a %s, not an image" % (name, picture.getRoleName()))
        images.append(name)
    ok("About window: %s are images" % ", ".join(images))


main()
