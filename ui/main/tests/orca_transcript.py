"""What Orca, the screen reader, says as a blind user works the window with the keyboard.

Run by atspi_session.sh, on its X server and accessibility bus, with the window already started:
the program's, or the page's in a browser. Orca runs as a child of this script, without sound:
its debug log records every utterance ("SPEECH OUTPUT: '...'"), and that log is the
transcript. Each step presses real keys through the X server and waits until Orca has said
every phrase of that step, in order; the phrases are the program's texts as a user hears them.

Usage: orca_transcript.py qt
       orca_transcript.py chromium|firefox PAGE   (this script starts the browser on PAGE)
"""
import json
import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../../web/tests"))

TITLE = "Orvan unk4 ver.2.2"
LIMIT = "Invalid value entered. Largest acceptable value is 1048575"
FLAG_16 = "When vertical walls are created, by default they do not have polygons"
FWO = "[FWO] means First Wall Only"

# Keys (xdotool names; "type:TEXT" types TEXT, "hear:TEXT" waits, as a user listens, until Orca
# has said TEXT, "web:KEY" is pressed in a browser only) and what Orca must then say. The window
# opens with the focus in the value box, "0" selected. The focus order is the value box, GO (off after
# GO), the flag boxes from 1 up, and Cancel; Enter in the value box presses nothing, Space on GO
# presses it; F1 on a flag box opens its explanation, and again closes it.
STEPS = [
    ("the first boxes", ["Tab", "Tab", "Tab"], ["GO", "1", "check box", "2", "check box"]),
    ("the value box", ["shift+Tab", "shift+Tab", "shift+Tab"], ["Current unk 4 value", "0"]),
    ("GO on 1040 says which flags", ["type:1040", "Tab", "space"], ["1040: 16 and 1024"]),
    ("the value read whole", ["Tab", "shift+Tab"], ["1040"]),
    ("over the limit", ["type:2000000", "Tab", "space"], [LIMIT, "OK"]),
    ("the message closed", ["Return"], ["1048575"]),
    ("a tick says the total", ["Tab", "space"], ["Total 1048574"]),
    ("F1 explains the focused flag", ["Tab"] * 4 + ["F1"], [FLAG_16]),
    ("F1 closes it, F1 again says it again", ["F1", "F1"], [FLAG_16]),
    # In a browser Orca, in its browse mode on a check box, takes the H of Alt+H for its own
    # (the next heading) and ignores the menu's focus, and A for the next clickable: a user
    # turns its focus mode on first, with Orca+A.
    ("Help, What is [FWO]?", ["Escape", "web:Insert+a", "web:hear:Focus mode", "alt+h",
                              "hear:What is [FWO]?", "w"], [FWO]),
    ("About", ["Escape", "web:Insert+a", "web:hear:Focus mode", "alt+h",
               "hear:What is [FWO]?", "a"], ["About Orvanunk4", "version 2.2", "OK"]),
    ("About closed", ["Return"], ["16"]),
]
# An utterance, then the voice it is said in, if any.
SAID = re.compile(r"SPEECH OUTPUT: '(.*)'(?: voice=\w+)?\s*(?:\{.*\})?$")


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
    """The utterances in Orca's log, read as they come."""

    def __init__(self, log):
        self.log = open(log, encoding="utf-8", errors="replace")
        self.said = []

    def read(self):
        for line in self.log.read().splitlines():
            found = SAID.search(line)
            if found and found.group(1).strip():
                self.said.append(found.group(1))

    def settle(self):
        """Waits, as a user listens, until Orca has been quiet for 0.4 s (3 s at most)."""
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline:
            heard = len(self.said)
            time.sleep(0.4)
            self.read()
            if len(self.said) == heard:
                return

    def wait(self, phrases, seconds=10, start=None):
        """Waits until the phrases have been said, in order, since the last wait (or since the
        start-th utterance); returns what was said."""
        start = len(self.said) if start is None else start
        in_order = re.compile(".*?".join(map(re.escape, phrases)), re.S)
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            self.read()
            if in_order.search("\n".join(self.said[start:])):
                time.sleep(0.5)  # what follows at once belongs to this step
                self.read()
                return self.said[start:]
            time.sleep(0.1)
        return None


def press(keys, transcript, web):
    """Presses the keys, each once Orca has been quiet for a moment after the one before."""
    since = len(transcript.said)  # where the last key's speech begins
    for key in keys:
        if key.startswith("web:"):
            if not web:
                continue
            key = key[4:]
        if key.startswith("hear:"):
            if transcript.wait([key[5:]], start=since) is None:
                fail("Orca did not say '%s'; it said %s" % (key[5:], transcript.said[since:]))
            continue
        since = len(transcript.said)
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


def start_browser(engine, page, work):
    """The browser on the page, with a fresh profile and no first-run pages."""
    if engine == "chromium":
        command = [os.environ.get("ORVAN_CHROMIUM", "chromium"), "--no-sandbox", "--no-first-run",
                   "--disable-gpu", "--force-renderer-accessibility",
                   "--user-data-dir=" + os.path.join(work, "profile"), "--app=file://" + page]
    else:
        import bidi
        profile = os.path.join(work, "profile")
        os.mkdir(profile)
        with open(os.path.join(profile, "user.js"), "w") as f:
            f.writelines("user_pref(%s, %s);\n" % (json.dumps(k), json.dumps(v))
                         for k, v in bidi.PREFERENCES.items())
        command = [os.environ.get("ORVAN_FIREFOX", "firefox-esr"), "-profile", profile,
                   "-no-remote", "file://" + page]
    return subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def window_focused():
    """Waits for the window (two minutes at most) and gives it the focus."""
    deadline = time.monotonic() + 120
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^" + TITLE],
                               capture_output=True, text=True).stdout.split()
        if found and subprocess.run(["xdotool", "windowactivate", "--sync", found[0]]).returncode == 0:
            return
        time.sleep(0.2)
    fail("no window '%s'" % TITLE)


def main(work):
    log = os.path.join(work, "orca.log")
    env = dict(os.environ, HOME=work, XDG_CONFIG_HOME=work, XDG_DATA_HOME=work,
               GSETTINGS_BACKEND="memory")
    started = [subprocess.Popen([sys.executable, __file__, "--orca", log], env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)]
    try:
        for _ in range(100):
            if os.path.exists(log):
                break
            time.sleep(0.1)
        transcript = Transcript(log)
        if transcript.wait(["Screen reader on"], 30) is None:
            fail("Orca did not start")
        if sys.argv[1] != "qt":
            started.append(start_browser(sys.argv[1], os.path.abspath(sys.argv[2]), work))
        window_focused()
        # The window read out, the value box with the focus among it, before the first key.
        if transcript.wait(["Current unk 4 value"], 60, start=0) is None:
            fail("Orca did not read the window; it said %s" % transcript.said)
        for name, keys, phrases in STEPS:
            transcript.read()
            start = len(transcript.said)
            press(keys, transcript, sys.argv[1] != "qt")
            heard = transcript.wait(phrases, start=start)
            if heard is None:
                fail("%s: Orca did not say %s; it said %s" % (name, phrases,
                                                             transcript.said[-12:]))
            print("ok: %s: %s" % (name, " | ".join(heard)))
    finally:
        started[0].kill()  # Orca does not end on SIGTERM while it waits on the bus
        for process in started[1:]:
            process.terminate()
        for process in started:
            process.wait()


if __name__ == "__main__":
    if sys.argv[1:2] == ["--orca"]:
        run_orca(sys.argv[2])
    with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as work:
        main(work)
