#!/usr/bin/python3
"""Plays every row of the behaviour table (form/tests/behaviour.rows) on the real page in headless
Chromium, each row on a freshly loaded page, with real input events, and checks what the row
expects: the value, the ticked boxes, the clipboard, GO, the focus and the limit message.

Usage: behaviour_test.py Orvanunk4ver22.html behaviour.rows
"""
import json
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cdp  # noqa: E402

PAGE, ROWS = sys.argv[1:3]
LIMIT_MESSAGE = ["Orvanunk4", "Invalid value entered. Largest acceptable value is 1048575"]
BOTH = ["clipboardReadWrite", "clipboardSanitizedWrite"]
ALT, CTRL, SHIFT = 1, 2, 8
# The table's keys as a Linux keyboard sends them: key, code, Windows key code, modifiers, the
# character typed, and the editing commands Chromium runs for the key unless the page stops it.
KEYS = {
    "Backspace": ("Backspace", "Backspace", 8, 0, None, ["deleteBackward"]),
    "Enter": ("Enter", "Enter", 13, 0, "\r", ["insertNewline"]),
    "Delete": ("Delete", "Delete", 46, 0, None, ["deleteForward"]),
    "Home": ("Home", "Home", 36, 0, None, ["moveToBeginningOfLine"]),
    "End": ("End", "End", 35, 0, None, ["moveToEndOfLine"]),
    "Left": ("ArrowLeft", "ArrowLeft", 37, 0, None, ["moveLeft"]),
    "Right": ("ArrowRight", "ArrowRight", 39, 0, None, ["moveRight"]),
    "Shift+Home": ("Home", "Home", 36, SHIFT, None, ["moveToBeginningOfLineAndModifySelection"]),
    "Ctrl+A": ("a", "KeyA", 65, CTRL, None, ["selectAll"]),
    "Ctrl+C": ("c", "KeyC", 67, CTRL, None, ["copy"]),
    "Ctrl+V": ("v", "KeyV", 86, CTRL, None, ["paste"]),
    "Ctrl+X": ("x", "KeyX", 88, CTRL, None, ["cut"]),
    "Ctrl+Z": ("z", "KeyZ", 90, CTRL, None, ["undo"]),
    "Ctrl+Insert": ("Insert", "Insert", 45, CTRL, None, ["copy"]),
    "Shift+Insert": ("Insert", "Insert", 45, SHIFT, None, ["paste"]),
    "Shift+Delete": ("Delete", "Delete", 46, SHIFT, None, ["cut"]),
}


def expanded(text):
    """TEXT*N repeats TEXT N times; (empty) is the empty text (the table's own rules)."""
    if text == "(empty)":
        return ""
    head, star, count = text.rpartition("*")
    return head * int(count) if star and count.isdigit() else text


def rows(path):
    for line in open(path, encoding="utf-8"):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        name, actions, value, ticked, clipboard, go, focus, message = (c.strip() for c in line.split("|"))
        yield {
            "name": name,
            "actions": [tuple(a.strip().partition(" ")[::2]) for a in actions.split("\u00b7")],
            "value": expanded(value),
            "ticked": list(range(20)) if ticked == "all" else [] if ticked == "none"
            else sorted(int(i) for i in ticked.split()),
            "clipboard": expanded(clipboard),
            "go": go == "on",
            "focus": focus,
            "limit": message == "limit",
        }


c = cdp.Chromium(os.environ.get("ORVAN_CHROMIUM", "chromium"))


def click(element):
    x, y, w, h = c.js(f"""(() => {{ const r = document.getElementById("{element}").getBoundingClientRect();
        return [r.left, r.top, r.width, r.height]; }})()""")
    c.click(x + min(w / 2, 20), y + h / 2)


def key(key_, code, vk, modifiers, text, commands):
    down = dict(type="keyDown" if text else "rawKeyDown", key=key_, code=code, modifiers=modifiers,
                windowsVirtualKeyCode=vk, commands=commands)
    if text:
        down.update(text=text, unmodifiedText=text)
    c.call("Input.dispatchKeyEvent", **down)
    c.call("Input.dispatchKeyEvent", type="keyUp", key=key_, code=code, modifiers=modifiers,
           windowsVirtualKeyCode=vk)


def type_text(text):
    for ch in text:
        code, vk = {"-": ("Minus", 189), ".": ("Period", 190)}.get(ch) or (
            (f"Digit{ch}" if ch.isdigit() else f"Key{ch.upper()}"), ord(ch.upper()))
        key(ch, code, vk, 0, ch, [])


def play(verb, text):
    if verb == "click":
        click(text)
    elif verb == "type":
        type_text(expanded(text))
    elif verb == "key":
        key(*KEYS[text])
    elif verb == "copy":
        c.js(f"navigator.clipboard.writeText({json.dumps(expanded(text))})")
    elif verb == "paste":
        # The context menu's Paste runs the browser's own Paste command, which fires a trusted
        # paste event, then beforeinput insertFromPaste, and pastes the clipboard's text. The
        # protocol runs that command only with a key event: this key is none (no key, no code,
        # no character), so the page meets no key of its keyboard routes, only the paste.
        c.call("Input.dispatchKeyEvent", type="rawKeyDown", key="Unidentified", code="",
               windowsVirtualKeyCode=0, commands=["paste"])
        c.call("Input.dispatchKeyEvent", type="keyUp", key="Unidentified", code="", windowsVirtualKeyCode=0)
    elif verb == "insert":
        # An input method composes the text, then commits it.
        text = expanded(text)
        c.call("Input.imeSetComposition", text=text, selectionStart=len(text), selectionEnd=len(text))
        c.call("Input.insertText", text=text)
    else:
        raise ValueError(f"no such action: {verb}")


def state():
    return c.js("""(async () => {
        const $ = (id) => document.getElementById(id);
        return { value: $("Text1").value,
            ticked: [...document.querySelectorAll("#client input[type=checkbox]")]
                .filter((b) => b.checked).map((b) => b.id),
            clipboard: await navigator.clipboard.readText(),
            go: !$("cmdGo").disabled, focus: document.activeElement.id };
    })()""")


failures, played = [], 0
try:
    c.browser_call("Browser.grantPermissions", permissions=BOTH)
    # The page has the focus as a window in front would, so that the clipboard may be written.
    c.call("Emulation.setFocusEmulationEnabled", enabled=True)
    for row in rows(ROWS):
        c.open("file://" + os.path.abspath(PAGE))
        c.wait_for("'ready' in document.documentElement.dataset")
        c.js("navigator.clipboard.writeText('start')")
        c.events.clear()
        limit = False
        started = time.monotonic()
        for verb, text in row["actions"]:
            play(verb, text)
            # Reading the clipboard waits for the page's write of this action to land first.
            shown = c.js("navigator.clipboard.readText().then(() => [document.getElementById('message').open, "
                         "document.getElementById('messageTitle').textContent, "
                         "document.getElementById('messageText').textContent])")
            if shown[0]:
                limit = limit or shown[1:] == LIMIT_MESSAGE
                click("messageOK")
        got = state()
        got["ticked"] = sorted(int(b.rpartition("_")[2]) for b in got["ticked"])
        got["limit"] = limit
        want = {k: row[k] for k in ("value", "ticked", "clipboard", "go", "focus", "limit")}
        if want["focus"] == "*":
            got["focus"] = want["focus"] = "*"
        errors = [e["params"]["exceptionDetails"].get("exception", {}).get("description", "?")
                  for e in c.events if e.get("method") == "Runtime.exceptionThrown"]
        wrong = {k: (str(got[k])[:40], str(want[k])[:40]) for k in want if got[k] != want[k]}
        played += 1
        if wrong or errors:
            failures.append(row["name"])
            print(f"FAIL {row['name']}: " + "; ".join(f"{k} {g!r}, want {w!r}" for k, (g, w) in wrong.items())
                  + "".join(f"; exception {e}" for e in errors))
        else:
            print(f"ok   {row['name']} ({time.monotonic() - started:.2f} s)")
finally:
    c.close()

print(f"{played} rows played, {len(failures)} failed" if failures else f"{played} rows played, all passed")
sys.exit(1 if failures or not played else 0)
