"""Chromium driven over its DevTools protocol, for the page's tests and benchmark: headless, or
with a window on the current display.

Starts its own chromium with a fresh profile, ends it by its process id, and talks to the first
tab over one websocket (Debian's python3-websocket).
"""
import base64
import json
import os
import subprocess
import tempfile
import time

import websocket

import display

FLAGS = ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--remote-debugging-port=0", "--window-size=800,600", "--hide-scrollbars"]


class Chromium:
    name = "chromium"

    def __init__(self, binary="chromium", headless=True):
        self.profile = tempfile.mkdtemp(prefix="orvan-chromium-")
        self.process = subprocess.Popen(
            [binary, *FLAGS, *(["--headless"] if headless else []), f"--user-data-dir={self.profile}",
             "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        for _ in range(300):
            if os.path.exists(port_file) and len(open(port_file).read().split()) == 2:
                break
            if self.process.poll() is not None:
                raise RuntimeError("chromium did not start")
            time.sleep(0.1)
        port = open(port_file).read().split()[0]
        browser = websocket.create_connection(f"ws://127.0.0.1:{port}" + open(port_file).read().split()[1])
        self.ws, self.next_id, self.events = browser, 0, []
        targets = self.call("Target.getTargets")["targetInfos"]
        page = next(t for t in targets if t["type"] == "page")
        self.browser = browser
        self.ws = websocket.create_connection(f"ws://127.0.0.1:{port}/devtools/page/{page['targetId']}")
        self.call("Page.enable")
        self.call("Runtime.enable")
        self.call("Emulation.setDeviceMetricsOverride", width=800, height=600,
                  deviceScaleFactor=1, mobile=False)

    def close(self):
        for ws in (self.ws, self.browser):
            ws.close()
        display.stop(self.process, self.profile)

    def call(self, method, ws=None, **params):
        ws = ws or self.ws
        self.next_id += 1
        ws.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(ws.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message["result"]
            self.events.append(message)

    def browser_call(self, method, **params):
        return self.call(method, ws=self.browser, **params)

    def wait_event(self, method, timeout=30):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            for k, e in enumerate(self.events):
                if e.get("method") == method:
                    return self.events.pop(k)["params"]
            self.ws.settimeout(max(0.01, end - time.monotonic()))
            try:
                self.events.append(json.loads(self.ws.recv()))
            except websocket.WebSocketTimeoutException:
                break
            finally:
                self.ws.settimeout(None)
        raise TimeoutError(method)

    def js(self, expression):
        """The value of a JavaScript expression in the page (promises awaited)."""
        r = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                      awaitPromise=True, userGesture=True)
        if "exceptionDetails" in r:
            raise RuntimeError(f"{expression}: {r['exceptionDetails']}")
        return r["result"].get("value")

    def wait_for(self, expression, timeout=30):
        end = time.monotonic() + timeout
        while not self.js(expression):
            if time.monotonic() > end:
                raise TimeoutError(expression)
            time.sleep(0.02)

    def open(self, url):
        self.events.clear()
        self.call("Page.navigate", url=url)
        self.wait_event("Page.loadEventFired")

    # Real input events, as the browser gets them from the system.
    def click(self, x, y, count=1, button=0):
        """COUNT quick clicks of the BUTTON (0 left, 2 right), the second of two a double click."""
        self.call("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y)
        for n in range(1, count + 1):
            for kind in ("mousePressed", "mouseReleased"):
                self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y,
                          button=("left", "middle", "right")[button], clickCount=n)

    def key(self, key, code=None, text=None, modifiers=0, vk=0, commands=()):
        """A key as the system sends it; COMMANDS are the editing commands that Chromium runs
        for it unless the page stops the key (the protocol leaves them to the caller)."""
        down = dict(type="keyDown" if text else "rawKeyDown", key=key, code=code or key,
                    modifiers=modifiers, windowsVirtualKeyCode=vk, commands=list(commands))
        if text:
            down.update(text=text, unmodifiedText=text)
        self.call("Input.dispatchKeyEvent", **down)
        self.call("Input.dispatchKeyEvent", type="keyUp", key=key, code=code or key,
                  modifiers=modifiers, windowsVirtualKeyCode=vk)

    def press(self, key, modifiers=0, code=None, vk=0, text=None, commands=()):
        self.key(key, code, text, modifiers, vk, commands)

    def type(self, text):
        for c in text:
            code, vk = {"-": ("Minus", 189), ".": ("Period", 190)}.get(c) or (
                f"Digit{c}" if c.isdigit() else f"Key{c.upper()}", ord(c.upper()))
            self.key(c, code=code, text=c, vk=vk)

    def paste(self, x=None, y=None):
        """The context menu's Paste (in the focused box, wherever it is): the browser's own Paste
        command, which fires a trusted paste
        event, then beforeinput insertFromPaste, and pastes the clipboard's text. The protocol
        runs that command only with a key event: this key is none (no key, no code, no
        character), so the page meets no key of its keyboard routes, only the paste."""
        self.call("Input.dispatchKeyEvent", type="rawKeyDown", key="Unidentified", code="",
                  windowsVirtualKeyCode=0, commands=["paste"])
        self.call("Input.dispatchKeyEvent", type="keyUp", key="Unidentified", code="", windowsVirtualKeyCode=0)

    def insert(self, text):
        """An input method composes TEXT, then commits it."""
        self.call("Input.imeSetComposition", text=text, selectionStart=len(text), selectionEnd=len(text))
        self.call("Input.insertText", text=text)

    def screenshot(self):
        return base64.b64decode(self.call("Page.captureScreenshot", format="png")["data"])
