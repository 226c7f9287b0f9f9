"""Firefox ESR with a window, driven over WebDriver BiDi (python3-websocket; Debian has no
geckodriver and needs none), for the page's behaviour test.

Starts its own firefox-esr with a fresh profile on the current display, ends it by its process id.
Real input events go through input.performActions, as WebDriver's key values.
"""
import json
import os
import tempfile

import websocket

from display import ALT, CTRL, SHIFT, Browser

# The WebDriver key values of the keys the tests press, by their DOM key name.
KEYS = {"Backspace": "\ue003", "Tab": "\ue004", "Enter": "\ue006", "Shift": "\ue008", "Control": "\ue009",
        "Alt": "\ue00a", "Escape": "\ue00c", "End": "\ue010", "Home": "\ue011", "ArrowLeft": "\ue012",
        "ArrowRight": "\ue014", "Insert": "\ue016", "Delete": "\ue017", "F1": "\ue031"}
MODIFIERS = ((ALT, "Alt"), (CTRL, "Control"), (SHIFT, "Shift"))
# No first-run pages, no reports, no updates: a window that shows the page and nothing else.
PREFERENCES = {"browser.aboutwelcome.enabled": False, "browser.startup.homepage_override.mstone": "ignore",
               "datareporting.policy.dataSubmissionEnabled": False, "app.update.disabledForTesting": True,
               "browser.shell.checkDefaultBrowser": False}


def chord(key, modifiers=0):
    """A key with its modifiers, as WebDriver key actions: pressed in order, released in reverse."""
    held = [KEYS[name] for bit, name in MODIFIERS if modifiers & bit] + [KEYS.get(key, key)]
    return [{"type": "keyDown", "value": k} for k in held] + [{"type": "keyUp", "value": k} for k in held[::-1]]


# Real input events as WebDriver's actions, which each driver performs with actions(source,
# actions) over its own protocol: this one's and WebKitWebDriver's; and the page's values through
# JSON, from the driver's evaluate(script).
class WebDriver(Browser):
    def click(self, x, y, count=1, button=0):
        press = [{"type": "pointerDown", "button": button}, {"type": "pointerUp", "button": button}]
        self.actions({"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"}},
                     [{"type": "pointerMove", "x": round(x), "y": round(y)}] + press * count)

    def press(self, key, modifiers=0):
        self.type([key], modifiers)

    def type(self, keys, modifiers=0):
        self.actions({"type": "key", "id": "keyboard"}, [a for k in keys for a in chord(k, modifiers)])

    def js(self, expression):
        value = self.evaluate(f"Promise.resolve({expression}).then(JSON.stringify)")
        return None if value is None else json.loads(value)


class Firefox(WebDriver):
    origin = "[mozInnerScreenX, mozInnerScreenY]"

    def __init__(self, url, binary=os.environ.get("ORVAN_FIREFOX", "firefox-esr")):
        profile = tempfile.mkdtemp(prefix="orvan-firefox-")
        with open(os.path.join(profile, "user.js"), "w") as f:
            f.writelines(f"user_pref({json.dumps(k)}, {json.dumps(v)});\n" for k, v in PREFERENCES.items())
        # Started on the page itself: started on about:blank, the address bar would keep the focus.
        port = json.loads(self.launch([binary, "-profile", profile, "-no-remote", "--remote-debugging-port=0", url],
                                      profile, "WebDriverBiDiServer.json", bool))["ws_port"]
        self.ws = websocket.create_connection(f"ws://127.0.0.1:{port}/session", suppress_origin=True)
        self.call("session.new", capabilities={})
        self.context = self.call("browsingContext.getTree")["contexts"][0]["context"]

    def evaluate(self, script):
        r = self.call("script.evaluate", expression=script, target={"context": self.context},
                      awaitPromise=True, userActivation=True)
        if r["type"] != "success":
            raise RuntimeError(f"{script}: {r.get('exceptionDetails', {}).get('text')}")
        return r["result"].get("value")

    def open(self, url):
        self.call("browsingContext.navigate", context=self.context, url=url, wait="complete")

    def actions(self, source, actions):
        self.call("input.performActions", context=self.context, actions=[{**source, "actions": actions}])
