"""What a screen reader meets in the window, heard through Orca itself: the program's (qt) or the
page's in a browser.

Run by atspi_session.sh, on its X server and private accessibility bus; this script starts the
program (or the browser on the page) and Orca, without sound. Orca's debug log is the transcript:
what it says ("SPEECH OUTPUT: '...'") and each event it hears, written here as "@KIND DETAIL1
ROLE 'NAME' DATA" (`@insert 0 text 'Current unk 4 value' 16`). First the value box answers every
text call at every offset; then each step presses real keys through the X server, or calls
AT-SPI as a screen reader does, and waits until the transcript has the step's patterns in order:
those of "@" among the events, the others among what Orca said.

Usage: orca_transcript.py qt PROGRAM | chromium PAGE | firefox PAGE
"""
import itertools
import json
import os
import re
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import Atspi, GLib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../../web/tests"))

TITLE = "Orvan unk4 ver.2.2"
VALUE_BOX = "Current unk 4 value"
LIMIT = "Invalid value entered. Largest acceptable value is 1048575"
FLAG_16 = "When vertical walls are created, by default they do not have polygons"
FWO = r"\[FWO\] means First Wall Only"
# In a browser Orca, in its browse mode on a check box, takes the H of Alt+H for its own (the next
# heading) and ignores the menu's focus, and A for the next clickable: a user turns its focus mode
# on first, with Orca+A.
HELP = ["Escape", "web:Insert+a", "web:hear:Focus mode", "alt+h", "hear:What is [FWO]?"]

# Keys (xdotool names; "type:TEXT" types TEXT, "hear:TEXT" waits, as a user listens, until Orca has
# said TEXT, "web:KEY" is pressed in a browser only) and the patterns the transcript must then
# have. The focus is in the value box, "0" in it. The focus order is the value box, GO (off after
# GO), the flag boxes from 1 up, and Cancel; Enter in the value box presses nothing, Space on GO
# presses it; F1 on a flag box opens its explanation, and again closes it.
STEPS = [
    ("the first boxes", ["Tab", "Tab", "Tab"], ["GO", "1", "check box", "2", "check box"]),
    ("the value box", ["shift+Tab", "shift+Tab", "shift+Tab"], [VALUE_BOX, "0"]),
    # GO from the keyboard hands the focus straight back to the value box: no flag box in
    # between, where a screen reader would announce it and the next Space tick it.
    ("GO on 1040 says which flags", ["type:1040", "Tab", "space"], [
        r"@focused 1 push button 'GO'(?:(?!focused 1 check box).)*focused 1 [\w ]+ '%s'" % VALUE_BOX,
        "1040: 16 and 1024"]),
    ("the value read whole", ["Tab", "shift+Tab"], ["1040"]),
    # The message's text and OK, in either order: a browser reads the text as OK's description.
    ("over the limit", ["type:2000000", "Tab", "space"], [r"(?=.*%s)(?=.*\bOK\b)" % LIMIT]),
    ("the message closed", ["Return"], ["1048575"]),
    ("a tick says the total", ["Tab", "space"], [r"^1 check box checked", "Total 1048574"]),
    # Orca reads a tool tip by default only after an F1 it heard itself.
    ("F1 explains the focused flag", ["Tab"] * 4 + ["F1"], [r"^F1\b", FLAG_16]),
    ("F1 closes it, F1 again says it again", ["F1", "F1"], [r"^F1\b", FLAG_16]),
    ("Help, What is [FWO]?", HELP + ["w"], [FWO]),
    ("About", HELP + ["a"], ["About Orvanunk4", r"version 2\.2", "OK"]),
    ("About's pictures", ["Tab", "Tab"], ["Orvan unk4 (program )?icon image",
                                          "Orvan unk4 (picture|race track banner) image"]),
    ("About closed", ["Tab", "Return"], ["16"]),
]
# The program alone, before those: AT-SPI calls (VERB, the control's name or role[, TEXT]; the
# verb "holds" checks the value box's text or the clipboard). A description's Press opens its explanation,
# a tool tip named by its text, announced by its showing, also when it only takes another
# flag's text; Press on it closes it. Every route that changes a box runs the flag-box step
# once: the total reaches the value box, announced there as inserted text, and the clipboard.
# A screen reader's editable-text calls keep to the digit rule. A click on the value box resets.
QT_STEPS = [
    ("Press on a description", [("Press", "Used for clipping help, usually in sections with elevations.")],
     ["@showing 1 tool tip 'The entire track is covered"]),
    ("Press on another", [("Press", "[FWO] Increases number of wall polygons longitudinally by 2 times")],
     [r"@showing 1 tool tip '\[FWO\] Increases the number of polygons"]),
    ("Press on the popup", [("Press", "tool tip")], ["@showing 0 tool tip"]),
] + [("%s on %s" % (verb, box), [(verb, box), ("holds", "clipboard", total)],
      ["@insert 0 text '%s' %s$" % (VALUE_BOX, total)])
     for verb, box, total in [("Toggle", "16", "16"), ("Toggle", "1024", "1040"),
                              ("Toggle", "16", "1024"), ("Toggle", "1024", "0"), ("click", "4", "4")]] + [
    ("insertText puts in digits only", [("insertText", VALUE_BOX, t) for t in ("x", "\u0661", "5")]
     + [("holds", VALUE_BOX, "45")], [r"\A@(?:(?!\dx$).)*@insert 0 text '%s' 45$" % VALUE_BOX]),
    ("a click on the value box", [("click", VALUE_BOX)], ["@insert 0 text '%s' 0$" % VALUE_BOX]),
]
ENTRY = re.compile(r"SPEECH OUTPUT: '(.*)'(?: voice=\w+)?\s*(?:\{.*\})?$|EVENT MANAGER: \S+:([\w-]+) for "
                   r"\[([^|]*) \| (.*?)\] in \[application \| [^]]*\] \((-?\d+), -?\d+, (.*?)\)?$")
# The value box's text calls, by how far from the offset they look.
CALLS = {-1: "getTextBeforeOffset", 0: "getTextAtOffset", 1: "getTextAfterOffset"}


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def run_orca(log):
    """Orca as the orca command starts it, minus its refusal to run beside another user's Orca
    (pgrep by name, which would see the one of a test running in parallel)."""
    from orca import debug
    debug.debugLevel = debug.LEVEL_INFO
    debug.debugFile = open(log, "w", buffering=1)
    from orca import orca
    orca.getSettingsManager().activate(None, {"enableSound": False})
    sys.exit(orca.main())


class Transcript:
    """What Orca said and heard, read from its log as it comes."""

    def __init__(self, log):
        self.log = open(log, encoding="utf-8", errors="replace")
        self.said = []

    def read(self):
        for found in filter(None, map(ENTRY.search, self.log.read().splitlines())):
            said, kind, role, name, detail, data = found.groups()
            if kind or said.strip():
                self.said.append(said or "@%s %s %s '%s' %s" % (kind, detail, role, name, data))

    def settle(self):
        """Waits, as a user listens, until Orca has been quiet for 0.4 s (3 s at most)."""
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline:
            heard = len(self.said)
            time.sleep(0.4)
            self.read()
            if len(self.said) == heard:
                return

    def wait(self, patterns, seconds=10, start=None):
        """Waits until the transcript has the patterns, in order among what Orca said, and those
        of "@" (or "\\A@", from the first) among the events, since the last wait (or since the
        start-th entry); returns its entries since then."""
        start = len(self.said) if start is None else start
        in_order = [re.compile(".*?".join(p for p in patterns if p.startswith(("@", r"\A@")) == event),
                               re.S | re.M) for event in (False, True)]
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            self.read()
            if all(pattern.search("\n".join(e for e in self.said[start:] if (e[0] == "@") == event))
                   for pattern, event in zip(in_order, (False, True))):
                time.sleep(0.5)  # what follows at once belongs to this step
                self.read()
                return self.said[start:]
            time.sleep(0.1)
        return None


def find(root, predicate):
    """The first accessible under root, depth first, for which predicate holds."""
    for child in filter(None, (root.getChildAtIndex(i) for i in range(root.childCount))):
        found = child if predicate(child) else find(child, predicate)
        if found is not None:
            return found
    return None


def control(name):
    """The control of that name or role on the accessibility bus; by the value box's name, the box
    itself, not its label."""
    found = find(pyatspi.Registry.getDesktop(0), lambda a: name in (a.name, a.getRoleName()) and (
        a.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)) == (name == VALUE_BOX))
    return found or fail("no control '%s'" % name)


def do(verb, name, text=None):
    """An AT-SPI call on a control, as a screen reader makes it: one of its actions, insertText
    at offset 1, or a real mouse click near its left end; or a check of what it holds."""
    if verb == "holds":
        got = (subprocess.run(["xclip", "-selection", "clipboard", "-o"], capture_output=True,
                              text=True, timeout=5).stdout if name == "clipboard"
               else control(name).queryText().getText(0, -1))
        return got == text or fail("the %s holds '%s', not '%s'" % (name, got, text))
    target = control(name)
    if verb == "click":
        x, y, _, height = target.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", str(x + 4), str(y + height // 2), "click", "1"], check=True)
    elif verb == "insertText":
        target.queryEditableText().insertText(1, text, len(text))
    else:
        action = target.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if verb not in names:
            fail("'%s' offers %s, no %s" % (name, names, verb))
        action.doAction(names.index(verb))


def press(keys, transcript, web):
    """Presses the keys, each once Orca has been quiet for a moment after the one before."""
    since = len(transcript.said)  # where the last key's speech begins
    for key in keys:
        if isinstance(key, tuple):
            do(*key)
        elif key.startswith("web:") and not web:
            continue
        elif "hear:" in key:
            phrase = key.split("hear:")[1]
            if transcript.wait([re.escape(phrase)], start=since) is None:
                fail("Orca did not say '%s'; it said %s" % (phrase, transcript.said[since:]))
            continue
        else:
            since = len(transcript.said)
            key = key.removeprefix("web:")
            if key.startswith("type:"):
                subprocess.run(["xdotool", "type", "--delay", "80", key[5:]], check=True)
            else:
                # A chord slowly, its modifier held: Qt hands each key to the screen reader and
                # waits, and a slow answer must not let Alt's release overtake the letter.
                *held, last = key.split("+")
                subprocess.run(["xdotool"] + [w for m in held for w in ("keydown", m, "sleep", "0.3")]
                               + ["key", last] + [w for m in held for w in ("sleep", "0.3", "keyup", m)],
                               check=True)
        transcript.settle()


def expected_piece(value, look, boundary, offset):
    """What a text call must answer on a box of digits, written out: the character at, before or
    after the offset; any other boundary is the whole value (nothing before or after it)."""
    end, at = len(value), offset + look
    if offset > end:
        return ("", -1, -1)
    if boundary != pyatspi.TEXT_BOUNDARY_CHAR:
        return (value, 0, end) if look == 0 else ("", 0, 0) if look < 0 else ("", end, end)
    return ("", 0, 0) if at < 0 else (value[at], at, at + 1) if at < end else ("", end, end)


def check_text_calls(engine):
    """Every boundary at every offset up to one past the end, each call bounded: Qt's own line
    edit never answered some of them. The program's value box takes each value from AT-SPI; the
    page's is typed into, and its answers are the browser's own: there, only a prompt answer is
    asked for, and up to the end only (past it, Firefox's bridge goes down), and Chromium's bridge
    goes down, the browser with it, on a sentence-end boundary in any text field."""
    Atspi.set_timeout(2000, 2000)
    exact = engine == "qt"
    for value in ("", "1040", "1048575", "0"):
        for tries in range(300):  # found afresh each time: a browser may have made a new one
            # Keys again every 5 s: Orca may still be in browse mode, taking them, as the box
            # takes the focus.
            if tries % 50 == 0:
                if exact:
                    control(VALUE_BOX).queryEditableText().setTextContents(value)
                else:
                    subprocess.run(["xdotool", "key", "End", "shift+Home", "Delete", "type", "--delay",
                                    "50", value], check=True)
            text = control(VALUE_BOX).queryText()
            if text.getText(0, -1) == value:
                break
            time.sleep(0.1)
        else:
            fail("putting in '%s' left '%s'" % (value, text.getText(0, -1)))
        offsets = range(len(value) + (2 if exact else 1))
        boundaries = [b for b in range(7) if engine != "chromium" or b != 4]
        for offset, boundary, look in itertools.product(offsets, boundaries, CALLS):
            started = time.monotonic()
            try:
                got = tuple(getattr(text, CALLS[look])(offset, boundary))
            except GLib.Error as error:
                got = error
            took, want = time.monotonic() - started, expected_piece(value, look, boundary, offset)
            if took > 1 or isinstance(got, GLib.Error) or exact and got != want:
                fail("%s(%d, %d) on '%s': %s in %.1f s, not %s" % (
                    CALLS[look], offset, boundary, value, got, took, want))
        # One run of attributes over the whole value, so that it is read to its end.
        runs = {tuple(text.getAttributeRun(offset, False)[1:]) for offset in offsets[:-1]}
        if exact and runs != {(0, len(value))}:
            fail("attribute runs of '%s': %s" % (value, runs))
        print("ok: '%s': every text call at every offset answered at once%s" % (
            value, " and right" if exact else ""))


def start(engine, target, work):
    """The program, or the browser on the page with a fresh profile and no first-run pages."""
    profile = os.path.join(work, "profile")
    if engine == "qt":
        return subprocess.Popen([target])
    if engine == "chromium":
        command = [os.environ.get("ORVAN_CHROMIUM", "chromium"), "--no-sandbox", "--no-first-run",
                   "--disable-gpu", "--force-renderer-accessibility", "--user-data-dir=" + profile,
                   "--app=file://" + target]
    else:
        import bidi
        os.mkdir(profile)
        with open(os.path.join(profile, "user.js"), "w") as f:
            f.writelines("user_pref(%s, %s);\n" % (json.dumps(k), json.dumps(v))
                         for k, v in bidi.PREFERENCES.items())
        command = [os.environ.get("ORVAN_FIREFOX", "firefox-esr"), "-profile", profile,
                   "-no-remote", "file://" + target]
    return subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main(engine, target, work):
    log = os.path.join(work, "orca.log")
    env = dict(os.environ, HOME=work, XDG_CONFIG_HOME=work, XDG_DATA_HOME=work,
               GSETTINGS_BACKEND="memory")
    open(log, "w").close()
    transcript = Transcript(log)
    started = [subprocess.Popen([sys.executable, __file__, "--orca", log], env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)]
    try:
        if transcript.wait(["Screen reader on"], 30) is None:
            fail("Orca did not start")
        started.append(start(engine, os.path.abspath(target), work))
        # The window, given the focus once it is there (two minutes at most), is read out, the
        # value box with the focus among it.
        for _ in range(600):
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^" + TITLE],
                                   capture_output=True, text=True).stdout.split()
            if found and subprocess.run(["xdotool", "windowactivate", "--sync", found[0]]).returncode == 0:
                break
            time.sleep(0.2)
        if transcript.wait([VALUE_BOX], 60, start=0) is None:
            fail("Orca did not read the window; it said %s" % transcript.said)
        check_text_calls(engine)
        for name, keys, patterns in (QT_STEPS if engine == "qt" else []) + STEPS:
            transcript.read()
            start_at = len(transcript.said)
            press(keys, transcript, engine != "qt")
            heard = transcript.wait(patterns, start=start_at)
            if heard is None:
                fail("%s: no %s; Orca said and heard %s" % (name, patterns, transcript.said[start_at:]))
            print("ok: %s: %s" % (name, " | ".join(h for h in heard if h[0] != "@")))
    finally:
        started[0].kill()  # Orca does not end on SIGTERM while it waits on the bus
        for process in started[1:]:
            process.terminate()
        for process in started:
            process.wait()


if __name__ == "__main__":
    if sys.argv[1:2] == ["--orca"]:
        run_orca(sys.argv[2])
    # The browser's helper processes may still write to its profile as the browser ends.
    with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as work:
        main(sys.argv[1], sys.argv[2], work)
