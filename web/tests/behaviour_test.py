#!/usr/bin/python3
"""Plays every row of the behaviour table (form/tests/behaviour.rows) on the real page in one
browser with a window, on a private X server with a window manager, each row on a freshly loaded
page, with real input events, and checks what the row expects: the value, the ticked boxes, the
X clipboard (read as another program reads it), GO, the focus, the limit message and the
explanation shown (by its place: each flag's stands at its own row).

The row player is the same for every browser; each browser is a thin driver of its own protocol:
Chromium over the DevTools protocol (cdp.py), Firefox ESR over WebDriver BiDi (bidi.py), WebKitGTK
over WebDriver (webkit.py). The context menu's Paste is the browser's own Paste command in
Chromium, and the real menu, opened and chosen with the X server's mouse and keyboard, in the
others. A row with an action that a browser's protocol cannot play as a user would is skipped
there, with the reason.

Usage: behaviour_test.py chromium|firefox|webkit Orvanunk4ver22.html behaviour.rows
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import display  # noqa: E402

ENGINE, PAGE, ROWS = sys.argv[1:4]
URL = "file://" + os.path.abspath(PAGE)
LIMIT_MESSAGE = ["Orvanunk4", "Invalid value entered. Largest acceptable value is 1048575"]
BOTH = ["clipboardReadWrite", "clipboardSanitizedWrite"]
ALT, CTRL, SHIFT = 1, 2, 8
# The table's keys as a Linux keyboard sends them: key, modifiers, and for Chromium's protocol
# the code, the Windows key code, the character typed and the editing commands Chromium runs for
# the key unless the page stops it.
KEYS = {
    "Backspace": ("Backspace", 0, "Backspace", 8, None, ["deleteBackward"]),
    "Enter": ("Enter", 0, "Enter", 13, "\r", ["insertNewline"]),
    "Delete": ("Delete", 0, "Delete", 46, None, ["deleteForward"]),
    "Home": ("Home", 0, "Home", 36, None, ["moveToBeginningOfLine"]),
    "End": ("End", 0, "End", 35, None, ["moveToEndOfLine"]),
    "Left": ("ArrowLeft", 0, "ArrowLeft", 37, None, ["moveLeft"]),
    "Right": ("ArrowRight", 0, "ArrowRight", 39, None, ["moveRight"]),
    "Shift+Home": ("Home", SHIFT, "Home", 36, None, ["moveToBeginningOfLineAndModifySelection"]),
    "Ctrl+A": ("a", CTRL, "KeyA", 65, None, ["selectAll"]),
    "Ctrl+C": ("c", CTRL, "KeyC", 67, None, ["copy"]),
    "Ctrl+V": ("v", CTRL, "KeyV", 86, None, ["paste"]),
    "Ctrl+X": ("x", CTRL, "KeyX", 88, None, ["cut"]),
    "Ctrl+Z": ("z", CTRL, "KeyZ", 90, None, ["undo"]),
    "Ctrl+Insert": ("Insert", CTRL, "Insert", 45, None, ["copy"]),
    "Shift+Insert": ("Insert", SHIFT, "Insert", 45, None, ["paste"]),
    "Shift+Delete": ("Delete", SHIFT, "Delete", 46, None, ["cut"]),
    "Tab": ("Tab", 0, "Tab", 9, None, []),
    "Shift+Tab": ("Tab", SHIFT, "Tab", 9, None, []),
    "Space": (" ", 0, "Space", 32, " ", []),
    "Escape": ("Escape", 0, "Escape", 27, None, []),
    "F1": ("F1", 0, "F1", 112, None, []),
}
# The menu entries' access keys, after their menu's: "&Help", "&What is [FWO]?...".
MENU_KEYS = {"mnuFWO": ("h", "w")}
# Where the explanation stands, in pixels from the top of the window's client area: flag i's
# (i < 16) hangs down from its description, 112 + 16 i; the [FWO] note at 50 twips.
POPUP_TOP = {"fwo": 3, **{str(i): 112 + 16 * i for i in range(16)}}
# What the WebDriver protocols cannot do as a user would; such rows are skipped there.
CANNOT = {"insert": "WebDriver has no input method to compose and commit text"}
# After each load: the page's errors, and the page's last clipboard write, which the player
# waits for before it reads the X clipboard.
WATCH = """(() => {
    window.errors = [];
    addEventListener("error", (e) => errors.push(String(e.message)));
    addEventListener("unhandledrejection", (e) => errors.push(String(e.reason)));
    const write = navigator.clipboard.writeText.bind(navigator.clipboard);
    window.written = Promise.resolve();
    navigator.clipboard.writeText = (text) => (window.written = write(text));
    return true;
})()"""
STATE = """({ value: $("Text1").value,
    ticked: [...document.querySelectorAll("#client input[type=checkbox]")].filter((b) => b.checked)
        .map((b) => Number(b.id.split("_")[1])),
    go: !$("cmdGo").disabled, focus: document.activeElement.id, errors,
    popup: $("Label1").hidden ? "none" : $("Label1").offsetTop })"""


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
        name, actions, value, ticked, clipboard, go, focus, message, popup = (
            c.strip() for c in line.split("|"))
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
            "popup": "none" if popup == "none" else POPUP_TOP[popup],
        }


def start(engine):
    if engine == "chromium":
        import cdp
        browser = cdp.Chromium(os.environ.get("ORVAN_CHROMIUM", "chromium"), headless=False)
        browser.browser_call("Browser.grantPermissions", permissions=BOTH)
        return browser
    if engine == "firefox":
        import bidi
        return bidi.Firefox(URL, os.environ.get("ORVAN_FIREFOX", "firefox-esr"))
    if engine == "webkit":
        import webkit
        return webkit.WebKit(URL)
    sys.exit(__doc__)


def point(b, element):
    x, y, w, h = b.js(f"""(() => {{ const r = $("{element}").getBoundingClientRect();
        return [r.left, r.top, r.width, r.height]; }})()""")
    return x + min(w / 2, 20), y + h / 2


def click(b, element, count=1, button=0):
    b.click(*point(b, element), count, button)


def press(b, name):
    key, modifiers, code, vk, typed, commands = KEYS[name]
    b.press(key, modifiers, code=code, vk=vk, text=typed, commands=commands)


def play(b, verb, text):
    if verb in ("click", "doubleclick", "rightclick"):
        click(b, text, 2 if verb == "doubleclick" else 1, 2 if verb == "rightclick" else 0)
    elif verb == "type":
        b.type(expanded(text))
    elif verb == "key":
        name, _, times = text.partition("*")
        for _ in range(int(times or 1)):
            press(b, name)
    elif verb == "menu":
        menu, entry = MENU_KEYS[text]
        b.press(menu, ALT, code=f"Key{menu.upper()}", vk=ord(menu.upper()))
        b.press(entry, 0, code=f"Key{entry.upper()}", vk=ord(entry.upper()), text=entry)
    elif verb == "copy":
        display.set_clipboard(expanded(text))
    elif verb == "paste":
        b.paste(*point(b, "Text1"))
    elif verb == "insert":
        b.insert(expanded(text))
    else:
        raise ValueError(f"no such action: {verb}")


def wait_ready(b):
    end = time.monotonic() + 30
    while not b.js("'ready' in document.documentElement.dataset"):
        if time.monotonic() > end:
            raise TimeoutError("the page did not get ready")
        time.sleep(0.02)


screen = display.Display()
failures, played, skipped, began = [], 0, 0, time.monotonic()
try:
    b = start(ENGINE)
    try:
        for row in rows(ROWS):
            missing = [verb for verb, _ in row["actions"] if verb in CANNOT and not hasattr(b, verb)]
            if missing:
                skipped += 1
                print(f"skip {row['name']}: {CANNOT[missing[0]]} ({ENGINE})")
                continue
            display.set_clipboard("start")
            b.open(URL)
            wait_ready(b)
            b.js("(window.$ = (id) => document.getElementById(id), true)")
            b.js(WATCH)
            limit = False
            started = time.monotonic()
            for n, (verb, text) in enumerate(row["actions"]):
                if n and verb == "click" and row["actions"][n - 1] == (verb, text):
                    time.sleep(0.7)  # two clicks, not a double click
                play(b, verb, text)
                shown = b.js("window.written.then(() => 0, () => 0).then(() => "
                             "[$('message').open, $('messageTitle').textContent, $('messageText').textContent])")
                if shown[0]:
                    limit = limit or shown[1:] == LIMIT_MESSAGE
                    click(b, "messageOK")
                    b.js("new Promise((done) => setTimeout(done))")  # the dialog's close event
            got = b.js(STATE)
            got.update(clipboard=display.clipboard(), limit=limit)
            want = {k: row[k] for k in ("value", "ticked", "clipboard", "go", "focus", "limit", "popup")}
            if want["focus"] == "*":
                got["focus"] = want["focus"] = "*"
            wrong = {k: (str(got[k])[:40], str(want[k])[:40]) for k in want if got[k] != want[k]}
            played += 1
            if wrong or got["errors"]:
                failures.append(row["name"])
                print(f"FAIL {row['name']}: " + "; ".join(f"{k} {g!r}, want {w!r}" for k, (g, w) in wrong.items())
                      + "".join(f"; error {e}" for e in got["errors"]))
            else:
                print(f"ok   {row['name']} ({time.monotonic() - started:.2f} s)")
    finally:
        b.close()
finally:
    screen.close()

print(f"{ENGINE}: {played} rows played, {skipped} skipped, "
      + (f"{len(failures)} failed" if failures else "all passed") + f", {time.monotonic() - began:.0f} s")
sys.exit(1 if failures or not played else 0)
