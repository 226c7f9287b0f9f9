"""For the browsers that run with a window, on run_on_xvfb.sh's X server: a small window manager
so that the browser's window has the focus, the real X clipboard, read and written with xclip as
another program would, and the browser's own context menu, used with the X server's mouse and
keyboard (xdotool). Everything started here is stopped by its process id.
"""
import contextlib
import json
import os
import shutil
import subprocess
import time

ALT, CTRL, SHIFT = 1, 2, 8  # the DevTools protocol's modifier bits, which every driver takes
# The behaviour table's key names that are not the DOM's, and its modifiers.
KEY_NAMES = {"Left": "ArrowLeft", "Right": "ArrowRight", "Space": " "}
MODIFIER_NAMES = {"Alt": ALT, "Ctrl": CTRL, "Shift": SHIFT}
# The menu entries' access keys, after their menu's: "&Help", "&What is [FWO]?...".
MENU_KEYS = {"mnuFWO": ("h", "w")}


# CONDITION's first true value, asked every 20 ms; TimeoutError(WHAT) after TIMEOUT seconds.
def until(condition, what, timeout=30):
    end = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() > end:
            raise TimeoutError(what)
        time.sleep(0.02)
    return value


def expanded(text):
    """TEXT*N repeats TEXT N times; (empty) is the empty text (the behaviour table's own rules)."""
    if text == "(empty)":
        return ""
    head, star, count = text.rpartition("*")
    return head * int(count) if star and count.isdigit() else text


# A small window manager on run_on_xvfb.sh's X server while the block runs, so that the browser's
# window has the focus. The xclip processes that still hold the clipboard end with the server.
@contextlib.contextmanager
def window_manager():
    manager = subprocess.Popen(["matchbox-window-manager", "-use_titlebar", "no"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(0.3)
    try:
        yield
    finally:
        manager.terminate()
        manager.wait()


def clipboard():
    """The X clipboard's text, as another program reads it."""
    return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                          timeout=20).stdout.decode("utf-8")


def popups():
    """The menus (override-redirect windows) on the screen, by their window ids."""
    listing = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True, text=True).stdout
    windows = [line.split()[0] for line in listing.splitlines() if line.strip().startswith("0x")]
    info = {w: subprocess.run(["xwininfo", "-id", w], capture_output=True, text=True).stdout for w in windows}
    return {w for w, i in info.items() if "IsViewable" in i and "Override Redirect State: yes" in i}


def set_clipboard(text):
    """Another program takes the X clipboard with TEXT. xclip stays behind, holding it, until
    someone else takes it; its output goes nowhere, so that nothing waits for it. The one that
    stays behind may take the clipboard only after the first has returned: TEXT is read back."""
    subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text.encode("utf-8"),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True, timeout=20)
    until(lambda: clipboard() == text, "the clipboard did not take the text", 10)


# What the page's browser drivers share: starting a browser and talking to it over its
# websocket, waiting for the page, and the behaviour table's actions with real input events. Each
# driver has js(expression), the value of a JavaScript expression in the page (promises awaited),
# open(url), close(), and real input events: click(x, y, count, button) (COUNT quick clicks of the
# BUTTON, 0 left, 2 right), press(key, modifiers) (a DOM key with the modifier bits) and paste(x, y)
# (the context menu's Paste); insert(text) (an input method composes TEXT and commits it) where
# its protocol can. Those over a websocket start with launch() and talk with call().
class Browser:
    # Starts the browser COMMAND on its fresh PROFILE folder; the text of the file NAME that it
    # writes there, once COMPLETE(text).
    def launch(self, command, profile, name, complete):
        self.profile, self.next_id, self.events = profile, 0, []
        self.process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        path = os.path.join(profile, name)

        def written():
            if self.process.poll() is not None:
                raise RuntimeError(f"{command[0]} did not start")
            text = open(path).read() if os.path.exists(path) else ""
            return complete(text) and text
        return until(written, f"{command[0]} did not start", 60)

    def close(self):
        """Ends the browser by its process id, asked first and killed after 10 s, and removes its
        profile."""
        self.ws.close()
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.profile, ignore_errors=True)

    # A command over the websocket WS (the page's unless given), and its result; the events that
    # come meanwhile are kept in self.events.
    def call(self, method, ws=None, **params):
        ws = ws or self.ws
        self.next_id += 1
        ws.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(ws.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']} {message.get('message', '')}")
                return message["result"]
            self.events.append(message)

    def wait_for(self, expression, timeout=30):
        until(lambda: self.js(expression), expression, timeout)

    # Where a click on the ELEMENT goes: its middle, or 20 pixels in from its left if wider.
    def point(self, element):
        x, y, w, h = self.js(f"""(() => {{ const r = document.getElementById("{element}").getBoundingClientRect();
            return [r.left, r.top, r.width, r.height]; }})()""")
        return x + min(w / 2, 20), y + h / 2

    def click_on(self, element, count=1, button=0):
        self.click(*self.point(element), count, button)

    def type(self, text):
        for c in text:
            self.press(c)

    # A right click at (X, Y) in the page, as the X server's mouse gives it; self.origin is where
    # the page's (0, 0) is on the screen.
    def right_click(self, x, y):
        left, top = self.js(self.origin)
        subprocess.run(["xdotool", "mousemove", str(round(left + x)), str(round(top + y)), "click", "3"], check=True)

    # The context menu's Paste at (X, Y) in the page, chosen with the X server's keyboard by its
    # access key once the menu is on the screen; returns when the menu has gone.
    def paste(self, x, y):
        before = popups()
        self.right_click(x, y)
        until(lambda: popups() - before, "the context menu did not open", 10)
        subprocess.run(["xdotool", "key", "p"], check=True)
        until(lambda: not popups() - before, "the context menu did not close", 10)

    # One action of the behaviour table (its verb and its text), with real input events.
    def act(self, verb, text):
        if verb in ("click", "doubleclick", "rightclick"):
            self.click_on(text, 2 if verb == "doubleclick" else 1, 2 if verb == "rightclick" else 0)
        elif verb == "key":
            name, _, times = text.partition("*")
            *held, key = name.split("+")
            for _ in range(int(times or 1)):
                self.press(KEY_NAMES.get(key, key.lower() if len(key) == 1 else key),
                           sum(MODIFIER_NAMES[m] for m in held))
        elif verb == "menu":
            self.press(MENU_KEYS[text][0], ALT)
            self.press(MENU_KEYS[text][1])
        elif verb == "paste":
            self.paste(*self.point("Text1"))
        else:  # the verbs of a text: KeyError for no such action
            {"type": self.type, "copy": set_clipboard, "insert": getattr(self, "insert", None)}[verb](expanded(text))
        # The next action comes a frame later, as a user's does: the page opens its message then.
        self.js("new Promise((done) => requestAnimationFrame(() => setTimeout(done)))")
