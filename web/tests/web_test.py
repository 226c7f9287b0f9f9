#!/usr/bin/python3
"""The page in headless Chromium, loaded from file://, with real input events: what only the
page shows. The form's behaviour itself is tested in form/, and played on the page by
behaviour_test.py.

Usage: web_test.py Orvanunk4ver22.html QT_WINDOW_1X.png ABOUT.png
The window at 1x, as loaded, is compared pixel for pixel with the Qt window's screenshot.
"""
import base64
import contextlib
import json
import os
import sys
import time

import cdp

PAGE, QT_PNG, ABOUT_PNG = sys.argv[1:4]
DESCRIPTION_WIDTHS = [157, 254, 203, 314, 244, 218, 221, 258, 288, 225,
                      269, 309, 309, 357, 238, 241, 192, 160, 358, 161]
DESCRIPTION_10 = "Used for clipping help, usually in sections with elevations."
# What the checks read in the page, on every load: what its Content-Security-Policy refuses,
# places in pixels at 96 dpi ((left, top, width, height) on the client area), and whether the page
# kept each press of F1 from the browser, as F1 in every state is the window's.
HELPERS = """window.violations = []; document.addEventListener("securitypolicyviolation",
        (e) => violations.push(e.effectiveDirective + " " + e.blockedURI));
    window.$ = (id) => document.getElementById(id); window.focused = () => document.activeElement.id;
    window.ticked = () => [...Array(20).keys()].filter((i) => $("Check1_" + i).checked);
    window.shown = (id) => !$(id).hidden && $(id).offsetParent !== null;
    window.place = (id) => { const r = $(id).getBoundingClientRect(), o = $("client").getBoundingClientRect();
        return [r.left - o.left, r.top - o.top, r.width, r.height].map(Math.round); };
    window.widths = () => [...Array(20).keys()].map((i) => place("Label3_" + i)[2]);
    window.f1 = []; addEventListener("keydown", (e) => { if (e.key === "F1") f1.push(e.defaultPrevented); });
    window.pixels = async (url, x = 0, y = 0, width, height) => { // the whole picture, or a part of it
        // As stored: no colour management, which would shift the greys of one of them.
        // Decoded here, not fetched: the page's policy allows no fetch, not even of data: URLs.
        const bytes = Uint8Array.from(atob(url.split(",")[1]), (ch) => ch.charCodeAt(0));
        const image = await createImageBitmap(new Blob([bytes]), { colorSpaceConversion: "none" });
        const canvas = new OffscreenCanvas(image.width, image.height), g = canvas.getContext("2d");
        g.drawImage(image, 0, 0);
        return g.getImageData(x, y, width ?? image.width, height ?? image.height);
    }"""

failures = []


def check(what, got, want):
    if got != want:
        failures.append(what)
        print(f"FAIL {what}: got {got!r}, want {want!r}")


def play(actions):
    """The behaviour table's ACTIONS, "verb text · verb text"."""
    for action in filter(None, actions.split(" · ")):
        c.act(*action.partition(" ")[::2])


def see(what, actions, expression, want):
    """Plays ACTIONS, then gives the page's EXPRESSION 5 s to come to WANT."""
    play(actions)
    try:
        c.wait_for(f"Promise.resolve({expression}).then((v) => JSON.stringify(v) === "
                   f"{json.dumps(json.dumps(want, separators=(',', ':')))})", 5)
    except TimeoutError:
        check(what, c.js(expression), want)


def accessible(role, name):
    """The node of the accessibility tree with that role and name (any, for None): its description
    and states."""
    for n in c.call("Accessibility.getFullAXTree")["nodes"]:
        if n.get("role", {}).get("value") == role and (name is None or n.get("name", {}).get("value") == name):
            return [n.get("description", {}).get("value")] + sorted(
                f"{p['name']}={p['value'].get('value')}" for p in n.get("properties", [])
                if p["name"] in ("expanded", "keyshortcuts", "modal"))
    return None


def png(data):
    return "data:image/png;base64," + base64.b64encode(data).decode()


with contextlib.closing(cdp.Chromium()) as c:
    # What the page asks of the network, and what it logs.
    c.call("Network.enable")
    c.call("Log.enable")
    c.call("Page.addScriptToEvaluateOnNewDocument", source=HELPERS)
    url = "file://" + os.path.abspath(PAGE)
    # Before the program is ready the window is inert: a click on a flag box changes nothing and
    # throws nothing. The program is held back until the click is done (on this load only).
    c.call("Page.addScriptToEvaluateOnNewDocument", source="""const instantiate = WebAssembly.instantiate;
        WebAssembly.instantiate = (...a) => new Promise((go) => { window.start = () => go(instantiate(...a)); });""")
    c.open(url)
    c.wait_for("'start' in window")
    see("a click before the program is ready", "click Check1_0", "$('Check1_0').checked", False)
    c.js("start()")
    c.wait_for("'ready' in document.documentElement.dataset")
    check("no exception", [e for e in c.events if e.get("method") == "Runtime.exceptionThrown"], [])

    # Looks: places as designed, and the whole window, menu bar and description column
    # included, as the Qt window draws it at 1x.
    see("places and description widths", "", "[['Text1', 'cmdGo', 'cmdCancel'].map(place), widths()]",
        [[[128, 72, 137, 23], [272, 72, 33, 25], [408, 16, 81, 33]], DESCRIPTION_WIDTHS])
    see("the window against the Qt window's pixels", "", f"""(async () => {{
        // The Qt window is the client area and the menu bar above it.
        const qt = await pixels("{png(open(QT_PNG, "rb").read())}"), o = $("client").getBoundingClientRect();
        const page = await pixels("{png(c.screenshot())}", o.left, o.top + 442 - qt.height, qt.width, qt.height);
        return page.data.filter((v, k) => k % 4 < 3 && v !== qt.data[k]).length; // the colours, not alpha
    }})()""", 0)

    # Text inserted without a composition (a screen reader) keeps to digits, against the box as
    # the form last set it; a paste too long is refused at once, and the page says so.
    see("the box reset", "click Text1 · type 1040 · click cmdGo · click Text1", "$('Text1').value", "0")
    c.call("Input.insertText", text="q")
    see("a letter inserted after the reset", "", "[$('Text1').value, $('Text1').selectionStart, "
        "$('Text1').selectionEnd]", ["0", 0, 1])
    c.call("Input.insertText", text="7")
    see("a digit inserted", "", "[$('Text1').value, $('cmdGo').disabled]", ["7", False])
    c.js("navigator.clipboard.writeText('12ab'.repeat(250000))")
    started = time.monotonic()
    c.paste()
    check("a million characters refused within a second", time.monotonic() - started < 1, True)
    see("a million characters refused", "", "[$('Text1').value, $('clipNotice').textContent !== '']", ["7", True])

    # A press on nothing that takes the focus keeps it where it was: the next digit lands.
    see("presses on nothing", "click Text1 · type 5 · click cmdGo · click cmdGo · click Label2 · click Label23 · "
        "doubleclick cmdGo", "focused()", "Text1")
    c.click(*c.js("[$('client').getBoundingClientRect().left + 495, $('client').getBoundingClientRect().top + 300]"))
    see("presses on nothing keep the focus", "type 7", "[focused(), $('Text1').value]", ["Text1", "7"])

    # Typing, GO and the box's reset, again and again, leave no node behind.
    c.call("Performance.enable")
    counts = []
    for cycle in range(105):
        if cycle in (5, 104):
            c.call("HeapProfiler.collectGarbage")
            counts.append(next(m["value"] for m in c.call("Performance.getMetrics")["metrics"] if m["name"] == "Nodes"))
        play("click Text1 · type 1040 · click cmdGo")
    check("nodes over 100 cycles", counts[1] - counts[0], 0)

    # The limit message closed by OK's keys (that GO on 1048576 shows it, with its title and text,
    # is the behaviour table's row "1048576 ticks all, then the limit message").
    for key in ("Enter", "Escape"):
        see(f"{key} closes the limit message", f"click Text1 · type 1048576 · click cmdGo · key F1 · key {key}",
            "!$('message').open && focused() === 'Text1'", True)

    # Explanations in their places (what opens and closes them is the behaviour table's; what a
    # screen reader says of them, Orca's transcript's).
    described = "Opens the explanation of flag 1024"
    check("a description closed", accessible("button", DESCRIPTION_10), [described, "expanded=False"])
    for index, want in ((17, [96, 352, 316, 45]), (3, [96, 160, 316, 48]), (10, [96, 272, 316, 151])):
        see(f"explanation {index}", f"click Label3_{index}", "shown('Label1') && place('Label1')", want)
    check("a description open", accessible("button", DESCRIPTION_10), [described, "expanded=True"])

    # Menus: by keyboard (Alt and the access keys) and by mouse; About a single window.
    see("Help > What is [FWO]?", "click Label1 · key Alt+H · key w", "shown('Label1') && place('Label1')",
        [33, 3, 320, 33])
    see("Esc leaves the menus for the control that had the focus", "key Escape · key F10 · key F1 · key Right · "
        "key Escape", "$('client').contains(document.activeElement) && !$('mnuFWO').offsetParent", True)
    see("About, once", "click mnuHelp · click mnuHelpAbout · click mnuHelp · click mnuHelpAbout",
        "[document.querySelectorAll('#about').length, shown('about'), focused()]", [1, True, "cmdOK"])
    see("About's picture, the desktop windows' pixels", "", f"""(async () => {{
        const page = await pixels($("Picture1").firstChild.src);
        const png = await pixels("{png(open(ABOUT_PNG, "rb").read())}");
        return page.data.length === png.data.length && page.data.every((v, k) => v === png.data[k]);
    }})()""", True)
    for role, name in [("button", DESCRIPTION_10), ("textbox", "Current unk 4 value"), ("menubar", "Menu"),
                       ("image", "Orvan unk4 race track banner"), ("dialog", "About Orvanunk4")]:
        check(f"accessible {role} {name}", accessible(role, name) is not None, True)
    check("no application around the window", accessible("application", None), None)
    check("an access key", accessible("menuitem", "Help"), [None, "expanded=False", "keyshortcuts=Alt+H"])
    check("a box described by its description", accessible("checkbox", "1024"), [DESCRIPTION_10, "keyshortcuts=F1"])
    c.act("key", "F1")
    for want in ("picIcon", "Picture1", "cmdOK"):
        see(f"About's tab order to {want}", "key Tab", "focused()", want)
    see("About's text keeps its three spaces", "", """(() => {
        const text = $("lblDescription").firstChild, range = document.createRange(), width = (at, n) => {
            range.setStart(text, at); range.setEnd(text, at + n); return range.getBoundingClientRect().width; };
        return width(9, 3) === 3 * width(19, 1);
    })()""", True)
    see("Esc presses About's OK", "key Escape", "[shown('about'), $('client').contains(document.activeElement)]",
        [False, True])
    # About moves by its title bar and leaves the main window usable; its close button closes it.
    play("click mnuHelp · click mnuHelpAbout")
    x, y = c.point("aboutTitle")
    for kind, dx, dy in (("mousePressed", 0, 0), ("mouseMoved", 60, 130), ("mouseReleased", 60, 130)):
        c.call("Input.dispatchMouseEvent", type=kind, x=x + dx, y=y + dy, button="left", buttons=1, clickCount=1)
    see("About moved", "", "[$('about').offsetLeft, $('about').offsetTop]", [100, 220])
    see("the main window beside About", "click Text1 · type 12 · click cmdGo",
        "[shown('about'), $('Text1').value, ticked()]", [True, "12", [2, 3]])
    see("About's close button", "click aboutClose", "[shown('about'), focused()]", [False, "Text1"])

    # High contrast: every control keeps a frame of its own, not a shadow that the browser drops,
    # and the ticks show; the explanation keeps its frame.
    c.call("Emulation.setEmulatedMedia", features=[{"name": "forced-colors", "value": "active"},
                                                   {"name": "prefers-contrast", "value": "more"}])
    framed = ["Text1", "cmdGo", "cmdCancel", "Label1"] + [f"Check1_{i}" for i in range(20)]
    see("high contrast ticks", "click Text1 · type 5 · click Check1_4 · click Label3_17", "ticked()", [4])
    see("high contrast frames and ticks", "", f"""(async () => {{
        const shot = await pixels("{png(c.screenshot())}"), box = (id) => $(id).getBoundingClientRect();
        const at = (x, y) => shot.data.slice((y * shot.width + x) * 4, (y * shot.width + x) * 4 + 3).join();
        const ground = at(box("client").left + 495, box("client").top + 300);
        const gaps = (id) => {{ // frame pixels in the background's colour, corners aside
            const r = box(id), [l, t, R, B] = [r.left, r.top, r.right - 1, r.bottom - 1];
            let n = 0;
            for (let x = l + 2; x <= R - 2; ++x) n += (at(x, t) === ground) + (at(x, B) === ground);
            for (let y = t + 2; y <= B - 2; ++y) n += (at(l, y) === ground) + (at(R, y) === ground);
            return n;
        }};
        const centre = (id) => at(box(id).left + 6, box(id).top + 6);
        return [{framed}.filter((id) => gaps(id) > 0),
            [...Array(20).keys()].filter((i) => centre("Check1_" + i) !== ground)];
    }})()""", [[], [4]])
    c.call("Emulation.setEmulatedMedia", features=[])

    # A refused clipboard write is said next to the value, and the next action writes it.
    c.call("Browser.setPermission", ws=c.browser, permission={"name": "clipboard-write"}, setting="denied")
    see("refusal said", "click Label1 · click Text1 · type 5 · click Check1_0",
        "$('clipNotice').textContent.includes('clipboard')", True)
    c.call("Browser.grantPermissions", ws=c.browser, permissions=cdp.CLIPBOARD)
    see("written at the next action", "key Shift",
        "$('clipNotice').textContent === '' && navigator.clipboard.readText()", "1")

    # Scaled pages: at 1.5x a scalable face no wider than the design; at 2x the design font.
    for scale, face in ((1.5, True), (2, False), (1, False)):
        c.call("Emulation.setDeviceMetricsOverride", width=800, height=600, deviceScaleFactor=scale, mobile=False)
        c.screenshot()  # a frame drawn: the page hears of the new resolution
        see(f"at {scale}x", "", "[document.body.classList.contains('scaled'), Math.max(...widths()) <= 358]",
            [face, True])

    # File > Exit ends the program: the page says so, the total stays on the clipboard.
    see("ended", "key Alt+F · key x", "Promise.all([shown('ended'), navigator.clipboard.readText()])", [True, "1"])
    see("F1 kept from the browser in every state", "key F1", "f1", [True] * 5)

    # The page asked for nothing but its own file and the data it carries, and broke no rule of
    # its policy.
    see("the policy, unbroken", "", "[document.querySelector('meta[http-equiv=Content-Security-Policy]')"
        ".content.split('; ')[0], violations]", ["default-src 'none'", []])
    requests = [e["params"]["request"]["url"] for e in c.events if e.get("method") == "Network.requestWillBeSent"]
    check("requests", [u for u in requests if u != url and not u.startswith("data:")], [])
    check("console errors", [e["params"]["entry"]["text"] for e in c.events
                             if e.get("method") == "Log.entryAdded" and e["params"]["entry"]["level"] == "error"], [])

print(f"{len(failures)} failed" if failures else "all passed")
sys.exit(1 if failures else 0)
