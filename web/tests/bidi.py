"""Firefox ESR with a window, driven over WebDriver BiDi (python3-websocket; Debian has no
geckodriver and needs none), for the page's behaviour test.

Starts its own firefox-esr with a fresh profile on the current display, ends it by its process id.
Real input events go through input.performActions, as WebDriver's key values.
"""
import json
import os
import subprocess
import tempfile
import time

import websocket

import display

# The WebDriver key values of the keys the tests press, by their DOM key name.
KEYS = {"Backspace": "\ue003", "Tab": "\ue004", "Enter": "\ue006", "Shift": "\ue008",
        "Control": "\ue009", "Alt": "\ue00a", "Escape": "\ue00c", "End": "\ue010", "Home": "\ue011",
        "ArrowLeft": "\ue012", "ArrowUp": "\ue013", "ArrowRight": "\ue014", "ArrowDown": "\ue015",
        "Insert": "\ue016", "Delete": "\ue017", "F1": "\ue031", "F10": "\ue03a"}
MODIFIERS = ((1, "Alt"), (2, "Control"), (8, "Shift"))  # the DevTools protocol's bits
# No first-run pages, no reports, no updates: a window that shows the page and nothing else.
PREFERENCES = {"browser.aboutwelcome.enabled": False, "browser.startup.homepage_override.mstone": "ignore",
               "datareporting.policy.dataSubmissionEnabled": False, "app.update.disabledForTesting": True,
               "browser.shell.checkDefaultBrowser": False}


def chord(key, modifiers):
    """A key with its modifiers, as WebDriver key actions: pressed in order, released in reverse."""
    held = [KEYS[name] for bit, name in MODIFIERS if modifiers & bit]
    value = KEYS.get(key, key)
    return ([{"type": "keyDown", "value": k} for k in held + [value]]
            + [{"type": "keyUp", "value": k} for k in reversed(held + [value])])


class Firefox:
    name = "firefox"

    def __init__(self, url, binary="firefox-esr"):
        self.profile = tempfile.mkdtemp(prefix="orvan-firefox-")
        with open(os.path.join(self.profile, "user.js"), "w") as f:
            f.writelines(f"user_pref({json.dumps(k)}, {json.dumps(v)});\n" for k, v in PREFERENCES.items())
        # Started on the page itself: started on about:blank, the address bar would keep the focus.
        self.process = subprocess.Popen(
            [binary, "-profile", self.profile, "-no-remote", "--remote-debugging-port=0", url],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "WebDriverBiDiServer.json")
        for _ in range(600):
            if os.path.exists(port_file) and os.path.getsize(port_file):
                break
            if self.process.poll() is not None:
                raise RuntimeError("firefox-esr did not start")
            time.sleep(0.1)
        port = json.load(open(port_file))["ws_port"]
        self.ws = websocket.create_connection(f"ws://127.0.0.1:{port}/session", suppress_origin=True)
        self.next_id = 0
        self.call("session.new", capabilities={})
        self.context = self.call("browsingContext.getTree")["contexts"][0]["context"]

    def close(self):
        self.ws.close()
        display.stop(self.process, self.profile)

    def call(self, method, **params):
        self.next_id += 1
        self.ws.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get("id") == self.next_id:
                if message.get("type") == "error":
                    raise RuntimeError(f"{method}: {message.get('error')}: {message.get('message')}")
                return message["result"]

    def js(self, expression):
        """The value of a JavaScript expression in the page (promises awaited), through JSON."""
        r = self.call("script.evaluate", expression=f"Promise.resolve({expression}).then(JSON.stringify)",
                      target={"context": self.context}, awaitPromise=True, userActivation=True)
        if r["type"] != "success":
            raise RuntimeError(f"{expression}: {r.get('exceptionDetails', {}).get('text')}")
        value = r["result"].get("value")
        return None if value is None else json.loads(value)

    def open(self, url):
        self.call("browsingContext.navigate", context=self.context, url=url, wait="complete")

    def actions(self, *sources):
        self.call("input.performActions", context=self.context, actions=list(sources))

    def click(self, x, y, count=1, button=0):
        press = [{"type": "pointerDown", "button": button}, {"type": "pointerUp", "button": button}]
        self.actions({"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
                      "actions": [{"type": "pointerMove", "x": round(x), "y": round(y)}] + press * count})

    def press(self, key, modifiers=0, **_chromium_only):
        self.actions({"type": "key", "id": "keyboard", "actions": chord(key, modifiers)})

    def paste(self, x, y):
        """The context menu's Paste at (X, Y) in the page, chosen by its access key."""
        left, top = self.js("[mozInnerScreenX, mozInnerScreenY]")
        display.choose_from_context_menu(left + x, top + y, "p")

    def type(self, text):
        self.actions({"type": "key", "id": "keyboard",
                      "actions": [a for c in text for a in chord(c, 0)]})
