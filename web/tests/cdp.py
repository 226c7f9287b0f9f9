"""Chromium driven over its DevTools protocol, for the page's tests and benchmark: headless, or
with a window on the current display.

Starts its own chromium with a fresh profile, ends it by its process id, and talks to the first
tab over one websocket (Debian's python3-websocket).
"""
import base64
import json
import os
import tempfile

import websocket

from display import ALT, CTRL, SHIFT, Browser

CLIPBOARD = ["clipboardReadWrite", "clipboardSanitizedWrite"]  # granted to the page from the start
FLAGS = ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--remote-debugging-port=0", "--window-size=800,600", "--hide-scrollbars"]
# The Windows key codes of the keys that are no letter or digit, their codes where not the key's,
# and the editing commands that Chromium runs for a key unless the page stops it: the protocol
# leaves all three to the caller.
VK = {"Backspace": 8, "Tab": 9, "Enter": 13, "Shift": 16, "Escape": 27, " ": 32, "End": 35, "Home": 36,
      "ArrowLeft": 37, "ArrowRight": 39, "Insert": 45, "Delete": 46, "F1": 112, "F10": 121, "-": 189, ".": 190}
CODES = {" ": "Space", "-": "Minus", ".": "Period"}
COMMANDS = {("Backspace", 0): "deleteBackward", ("Enter", 0): "insertNewline", ("Delete", 0): "deleteForward",
            ("Home", 0): "moveToBeginningOfLine", ("End", 0): "moveToEndOfLine", ("ArrowLeft", 0): "moveLeft",
            ("ArrowRight", 0): "moveRight", ("Home", SHIFT): "moveToBeginningOfLineAndModifySelection",
            ("a", CTRL): "selectAll", ("c", CTRL): "copy", ("v", CTRL): "paste", ("x", CTRL): "cut",
            ("z", CTRL): "undo", ("Insert", CTRL): "copy", ("Insert", SHIFT): "paste", ("Delete", SHIFT): "cut"}


class Chromium(Browser):
    def __init__(self, binary=os.environ.get("ORVAN_CHROMIUM", "chromium"), headless=True):
        profile = tempfile.mkdtemp(prefix="orvan-chromium-")
        port, path = self.launch([binary, *FLAGS, *(["--headless"] if headless else []), f"--user-data-dir={profile}",
                                  "about:blank"], profile, "DevToolsActivePort", lambda t: len(t.split()) == 2).split()
        self.ws = self.browser = websocket.create_connection(f"ws://127.0.0.1:{port}{path}")
        page = next(t for t in self.call("Target.getTargets")["targetInfos"] if t["type"] == "page")
        self.ws = websocket.create_connection(f"ws://127.0.0.1:{port}/devtools/page/{page['targetId']}")
        self.call("Browser.grantPermissions", ws=self.browser, permissions=CLIPBOARD)
        self.call("Page.enable")
        self.call("Runtime.enable")
        self.call("Emulation.setDeviceMetricsOverride", width=800, height=600,
                  deviceScaleFactor=1, mobile=False)

    def close(self):
        self.browser.close()
        super().close()

    def js(self, expression):
        r = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                      awaitPromise=True, userGesture=True)
        if "exceptionDetails" in r:
            raise RuntimeError(f"{expression}: {r['exceptionDetails']}")
        return r["result"].get("value")

    def open(self, url):
        self.events.clear()
        self.call("Page.navigate", url=url)
        self.ws.settimeout(30)  # WebSocketTimeoutException: the page did not load
        while not any(e.get("method") == "Page.loadEventFired" for e in self.events):
            self.events.append(json.loads(self.ws.recv()))
        self.ws.settimeout(None)

    # Real input events, as the browser gets them from the system.
    def click(self, x, y, count=1, button=0):
        self.call("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y)
        for n in range(1, count + 1):
            for kind in ("mousePressed", "mouseReleased"):
                self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y,
                          button=("left", "middle", "right")[button], clickCount=n)

    def press(self, key, modifiers=0):
        """The key with its code, its Windows key code, the character it types and its editing
        commands."""
        char = len(key) == 1
        code = CODES.get(key) or (f"Digit{key}" if key.isdigit() else f"Key{key.upper()}" if char else key)
        event = dict(key=key, code=code, modifiers=modifiers, windowsVirtualKeyCode=VK.get(key) or ord(key.upper()))
        text = "\r" if key == "Enter" else key if char and not modifiers & (ALT | CTRL) else None
        command = COMMANDS.get((key, modifiers))
        self.call("Input.dispatchKeyEvent", type="keyDown" if text else "rawKeyDown", **event,
                  commands=[command] if command else [], **({"text": text, "unmodifiedText": text} if text else {}))
        self.call("Input.dispatchKeyEvent", type="keyUp", **event)

    def paste(self, x=None, y=None):
        """The context menu's Paste (in the focused box, wherever it is): the browser's own Paste
        command, which fires a trusted paste event, then beforeinput insertFromPaste, and pastes
        the clipboard's text. The protocol runs that command only with a key event: this key is
        none (no key, no code, no character), so the page meets no key of its routes, only the paste."""
        self.call("Input.dispatchKeyEvent", type="rawKeyDown", key="Unidentified", code="",
                  windowsVirtualKeyCode=0, commands=["paste"])
        self.call("Input.dispatchKeyEvent", type="keyUp", key="Unidentified", code="", windowsVirtualKeyCode=0)

    def insert(self, text):
        """An input method composes TEXT, then commits it."""
        self.call("Input.imeSetComposition", text=text, selectionStart=len(text), selectionEnd=len(text))
        self.call("Input.insertText", text=text)

    def screenshot(self):
        return base64.b64decode(self.call("Page.captureScreenshot", format="png")["data"])
