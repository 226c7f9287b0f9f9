#!/usr/bin/python3
"""Plays every row of the behaviour table (form/tests/behaviour.rows) on the real page in one
browser with a window, on a private X server (run_on_xvfb.sh) with a window manager, each row on
a freshly loaded page, with real input events, and checks what the row expects: the value, the
ticked boxes, the X clipboard (read as another program reads it), GO, the focus, the limit
message and the explanation shown (by its place: each flag's stands at its own row).

The row player is the same for every browser; each browser is a thin driver of its own protocol:
Chromium over the DevTools protocol (cdp.py), Firefox ESR over WebDriver BiDi (bidi.py), WebKitGTK
over WebDriver (webkit.py). The context menu's Paste is the browser's own Paste command in
Chromium, and the real menu, opened and chosen with the X server's mouse and keyboard, in the
others. A row with an action that a browser's protocol cannot play as a user would is skipped
there, with the reason.

Usage: run_on_xvfb.sh behaviour_test.py chromium|firefox|webkit Orvanunk4ver22.html behaviour.rows
"""
import contextlib
import os
import sys
import time

import display

ENGINE, PAGE, ROWS = sys.argv[1:4]
URL = "file://" + os.path.abspath(PAGE)
LIMIT_MESSAGE = ["Orvanunk4", "Invalid value entered. Largest acceptable value is 1048575"]
# Where the explanation stands, in pixels from the top of the window's client area: flag i's
# (i < 16) hangs down from its description, 112 + 16 i; the [FWO] note at 50 twips.
POPUP_TOP = {"fwo": 3, **{str(i): 112 + 16 * i for i in range(16)}}
# Each browser's driver, imported only for that browser.
DRIVERS = {"chromium": lambda: __import__("cdp").Chromium(headless=False),
           "firefox": lambda: __import__("bidi").Firefox(URL), "webkit": lambda: __import__("webkit").WebKit(URL)}
# After each load: the page's errors, and the page's last clipboard write, which the player
# waits for before it reads the X clipboard.
WATCH = """(() => {
    window.$ = (id) => document.getElementById(id);
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


def rows(path):
    """The table's rows: name, actions (verb, text) and what they leave."""
    for line in open(path, encoding="utf-8"):
        if line.strip() and not line.startswith("#"):
            name, actions, value, ticked, clipboard, go, focus, message, popup = (c.strip() for c in line.split("|"))
            yield name, [tuple(a.strip().partition(" ")[::2]) for a in actions.split("\u00b7")], {
                "value": display.expanded(value), "clipboard": display.expanded(clipboard),
                "ticked": list(range(20)) if ticked == "all" else [] if ticked == "none"
                else sorted(int(i) for i in ticked.split()),
                "go": go == "on", "focus": focus, "limit": message == "limit",
                "popup": "none" if popup == "none" else POPUP_TOP[popup]}


if ENGINE not in DRIVERS:
    sys.exit(__doc__)
failures, played, skipped, began = [], 0, 0, time.monotonic()
with display.window_manager(), contextlib.closing(DRIVERS[ENGINE]()) as b:
    for name, actions, want in rows(ROWS):
        # What the WebDriver protocols cannot do as a user would: such rows are skipped there.
        if any(verb == "insert" for verb, _ in actions) and not hasattr(b, "insert"):
            skipped += 1
            print(f"skip {name}: WebDriver has no input method to compose and commit text ({ENGINE})")
            continue
        display.set_clipboard("start")
        b.open(URL)
        b.wait_for("'ready' in document.documentElement.dataset")
        b.js(WATCH)
        limit = False
        started = time.monotonic()
        for n, (verb, text) in enumerate(actions):
            if n and verb == "click" and actions[n - 1] == (verb, text):
                time.sleep(0.7)  # two clicks, not a double click
            b.act(verb, text)
            shown = b.js("window.written.then(() => 0, () => 0).then(() => "
                         "[$('message').open, $('messageTitle').textContent, $('messageText').textContent])")
            if shown[0]:
                limit = limit or shown[1:] == LIMIT_MESSAGE
                b.click_on("messageOK")
                b.js("new Promise((done) => setTimeout(done))")  # the dialog's close event
        got = b.js(STATE)
        got.update(clipboard=display.clipboard(), limit=limit)
        if want["focus"] == "*":
            got["focus"] = want["focus"] = "*"
        wrong = {k: (str(got[k])[:40], str(want[k])[:40]) for k in want if got[k] != want[k]}
        played += 1
        if wrong or got["errors"]:
            failures.append(name)
            print(f"FAIL {name}: " + "; ".join(f"{k} {g!r}, want {w!r}" for k, (g, w) in wrong.items())
                  + "".join(f"; error {e}" for e in got["errors"]))
        else:
            print(f"ok   {name} ({time.monotonic() - started:.2f} s)")

print(f"{ENGINE}: {played} rows played, {skipped} skipped, "
      + (f"{len(failures)} failed" if failures else "all passed") + f", {time.monotonic() - began:.0f} s")
sys.exit(1 if failures or not played else 0)
