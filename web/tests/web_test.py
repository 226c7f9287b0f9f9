#!/usr/bin/python3
"""The page in headless Chromium, loaded from file://, with real input events: what only the
page shows. The form's behaviour itself is tested in form/, and played on the page by
behaviour_test.py.

Usage: web_test.py Orvanunk4ver22.html QT_WINDOW_1X.png ABOUT.png
The window at 1x, as loaded, is compared pixel for pixel with the Qt window's screenshot.
"""
import base64
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cdp  # noqa: E402

PAGE, QT_PNG, ABOUT_PNG = sys.argv[1:4]
# The designed places, in pixels at 96 dpi: (left, top, width, height) on the client area.
PLACES = {"Text1": (128, 72, 137, 23), "cmdGo": (272, 72, 33, 25), "cmdCancel": (408, 16, 81, 33)}
DESCRIPTION_WIDTHS = [157, 254, 203, 314, 244, 218, 221, 258, 288, 225,
                      269, 309, 309, 357, 238, 241, 192, 160, 358, 161]
POPUPS = {17: (96, 352, 316, 45), 3: (96, 160, 316, 48), 10: (96, 272, 316, 151)}
FWO_NOTE = (33, 3, 320, 33)
DESCRIPTION_10 = "Used for clipping help, usually in sections with elevations."
LIMIT_MESSAGE = "Invalid value entered. Largest acceptable value is 1048575"
BOTH = ["clipboardReadWrite", "clipboardSanitizedWrite"]

failures = []


def check(what, got, want):
    if got != want:
        failures.append(what)
        print(f"FAIL {what}: got {got!r}, want {want!r}")


c = cdp.Chromium(os.environ.get("ORVAN_CHROMIUM", "chromium"))


def place(element):
    return tuple(c.js(f"""(() => {{ const r = $("{element}").getBoundingClientRect(),
        o = $("client").getBoundingClientRect();
        return [r.left - o.left, r.top - o.top, r.width, r.height].map(Math.round); }})()"""))


def click(element, count=1):
    x, y, w, h = c.js(f"""(() => {{ const r = $("{element}").getBoundingClientRect();
        return [r.left, r.top, r.width, r.height]; }})()""")
    c.click(x + min(w / 2, 20), y + h / 2, count)


def value():
    return c.js("[$('Text1').value, $('Text1').selectionStart, $('Text1').selectionEnd]")


def ticked():
    return c.js("[...Array(20).keys()].filter((i) => $('Check1_' + i).checked)")


def shown(element):
    return c.js(f"!$('{element}').hidden && $('{element}').offsetParent !== null")


def clipboard():
    return c.js("navigator.clipboard.readText()")


def focused():
    return c.js("focused()")


def accessible(role, name):
    """The node of the accessibility tree with that role and name: its description and states."""
    for n in c.call("Accessibility.getFullAXTree")["nodes"]:
        if n.get("role", {}).get("value") == role and n.get("name", {}).get("value") == name:
            return [n.get("description", {}).get("value")] + sorted(
                f"{p['name']}={p['value'].get('value')}" for p in n.get("properties", [])
                if p["name"] in ("expanded", "keyshortcuts", "modal"))
    return None


def eventually(expression):
    try:
        c.wait_for(expression, 5)
        return True
    except TimeoutError:
        return False


def png(path):
    return "data:image/png;base64," + base64.b64encode(open(path, "rb").read()).decode()


def new_value(text):
    click("Text1")
    c.type(text)


try:
    c.browser_call("Browser.grantPermissions", permissions=BOTH)
    # What the page asks of the network, and what its Content-Security-Policy refuses.
    c.call("Network.enable")
    c.call("Log.enable")
    c.call("Page.addScriptToEvaluateOnNewDocument", source="""window.violations = [];
        document.addEventListener("securitypolicyviolation",
            (e) => violations.push(e.effectiveDirective + " " + e.blockedURI));""")
    url = "file://" + os.path.abspath(PAGE)
    # Before the program is ready the window is inert: a click on a flag box changes nothing and
    # throws nothing. The program is held back until the click is done.
    held = c.call("Page.addScriptToEvaluateOnNewDocument", source="""const instantiate = WebAssembly.instantiate;
        WebAssembly.instantiate = (...a) => new Promise((go) => { window.start = () => go(instantiate(...a)); });""")
    c.open(url)
    c.wait_for("'start' in window")
    c.js("window.$ = (id) => document.getElementById(id)")
    click("Check1_0")
    check("a click before the program is ready", c.js("$('Check1_0').checked"), False)
    c.js("start()")
    c.wait_for("'ready' in document.documentElement.dataset")
    check("no exception", [e for e in c.events if e.get("method") == "Runtime.exceptionThrown"], [])
    c.call("Page.removeScriptToEvaluateOnNewDocument", identifier=held["identifier"])
    c.open(url)
    c.wait_for("'ready' in document.documentElement.dataset")
    c.js("window.$ = (id) => document.getElementById(id); window.focused = () => document.activeElement.id")
    # F1 in every state is the window's: whether the page kept each press from the browser.
    c.js("window.f1 = []; addEventListener('keydown', (e) => { if (e.key === 'F1') f1.push(e.defaultPrevented); })")

    # Looks: places as designed, and the whole window, menu bar and description column
    # included, as the Qt window draws it at 1x.
    for name, want in PLACES.items():
        check(f"{name} place", place(name), want)
    check("description widths", [place(f"Label3_{i}")[2] for i in range(20)], DESCRIPTION_WIDTHS)
    c.js("""window.pixels = async (url) => {
        // As stored: no colour management, which would shift the greys of one of them.
        // Decoded here, not fetched: the page's policy allows no fetch, not even of data: URLs.
        const bytes = Uint8Array.from(atob(url.split(",")[1]), (ch) => ch.charCodeAt(0));
        const image = await createImageBitmap(new Blob([bytes]), { colorSpaceConversion: "none" });
        const canvas = new OffscreenCanvas(image.width, image.height), g = canvas.getContext("2d");
        g.drawImage(image, 0, 0);
        return g.getImageData(0, 0, image.width, image.height);
    }""")
    shot = base64.b64encode(c.screenshot()).decode()
    check("the window against the Qt window's pixels", c.js(f"""(async () => {{
        const page = await pixels("data:image/png;base64,{shot}"), qt = await pixels("{png(QT_PNG)}");
        const o = $("client").getBoundingClientRect(), menu = qt.height - 442;
        let differ = 0;
        for (let y = -menu; y < 442; ++y)
            for (let x = 0; x < 500; ++x)
                for (let k = 0; k < 3; ++k)
                    differ += page.data[((o.top + y) * page.width + o.left + x) * 4 + k]
                        !== qt.data[((menu + y) * qt.width + x) * 4 + k];
        return differ;
    }})()"""), 0)

    # Text inserted without a composition (a screen reader) keeps to digits, against the box as
    # the form last set it; a paste too long is refused at once, and the page says so.
    new_value("1040")
    click("cmdGo")
    click("Text1")
    c.call("Input.insertText", text="q")
    check("a letter inserted after the reset", value(), ["0", 0, 1])
    c.call("Input.insertText", text="7")
    check("a digit inserted", [value()[0], c.js("$('cmdGo').disabled")], ["7", False])
    c.js("navigator.clipboard.writeText('12ab'.repeat(250000))")
    started = time.monotonic()
    c.call("Input.dispatchKeyEvent", type="rawKeyDown", key="Unidentified", code="", commands=["paste"])
    check("a million characters refused within a second",
          [time.monotonic() - started < 1, value()[0] == "7", c.js("$('clipNotice').textContent !== ''")], [True] * 3)

    # A press on nothing that takes the focus keeps it where it was: the next digit lands.
    new_value("5")
    for target in ("cmdGo", "cmdGo", "Label2", "Label23"):
        click(target)
    click("cmdGo", 2)
    c.click(*c.js("[$('client').getBoundingClientRect().left + 495, $('client').getBoundingClientRect().top + 300]"))
    c.type("7")
    check("presses on nothing keep the focus", [focused(), value()[0]], ["Text1", "7"])

    # Typing, GO and the box's reset, again and again, leave no node behind.
    c.call("Performance.enable")

    def nodes():
        c.call("HeapProfiler.collectGarbage")
        return next(m["value"] for m in c.call("Performance.getMetrics")["metrics"] if m["name"] == "Nodes")
    counts = []
    for cycle in range(105):
        if cycle in (5, 104):
            counts.append(nodes())
        new_value("1040")
        click("cmdGo")
    check("nodes over 100 cycles", counts[1] - counts[0], 0)

    # The limit message: a modal box titled Orvanunk4, closed by OK's keys.
    for key, vk, text in (("Enter", 13, "\r"), ("Escape", 27, None)):
        new_value("1048576")
        click("cmdGo")
        check(f"limit message ({key})", c.js("[$('message').open, $('messageTitle').textContent, "
                                             "$('messageText').textContent]"), [True, "Orvanunk4", LIMIT_MESSAGE])
        c.key("F1", vk=112)
        c.key(key, vk=vk, text=text)
        check(f"{key} closes the message", eventually("!$('message').open && focused() === 'Text1'"), True)

    # Explanations in their places (what opens and closes them is the behaviour table's; what a
    # screen reader says of them, Orca's transcript's).
    described = "Opens the explanation of flag 1024"
    check("a description closed", accessible("button", DESCRIPTION_10), [described, "expanded=False"])
    for index, want in POPUPS.items():
        click(f"Label3_{index}")
        check(f"explanation {index}", [shown("Label1"), place("Label1")], [True, want])
    check("a description open", accessible("button", DESCRIPTION_10), [described, "expanded=True"])
    click("Label1")

    # Menus: by keyboard (Alt and the access keys) and by mouse; About a single window.
    c.key("h", code="KeyH", modifiers=1, vk=72)
    c.key("w", code="KeyW", vk=87)
    check("Help > What is [FWO]?", [shown("Label1"), place("Label1")], [True, FWO_NOTE])
    c.key("Escape", vk=27)
    for key, vk in (("F10", 121), ("F1", 112), ("ArrowRight", 39), ("Escape", 27)):
        c.key(key, vk=vk)
    check("Esc leaves the menus for the control that had the focus",
          c.js("$('client').contains(document.activeElement) && !$('mnuFWO').offsetParent"), True)
    for _ in range(2):
        click("mnuHelp")
        click("mnuHelpAbout")
    check("About, once", c.js("[document.querySelectorAll('#about').length, !$('about').hidden, "
                              "document.activeElement.id]"), [1, True, "cmdOK"])
    check("About's picture, the desktop windows' pixels", c.js(f"""(async () => {{
        const page = await pixels($("Picture1").firstChild.src), png = await pixels("{png(ABOUT_PNG)}");
        return page.data.length === png.data.length && page.data.every((v, k) => v === png.data[k]);
    }})()"""), True)
    tree = c.call("Accessibility.getFullAXTree")["nodes"]
    named = {(n["role"]["value"], n.get("name", {}).get("value")): n for n in tree if "role" in n}
    for role, name in [("checkbox", "1024"), ("button", "Used for clipping help, usually in sections with elevations."),
                       ("textbox", "Current unk 4 value"), ("menubar", "Menu"), ("menuitem", "Help"),
                       ("image", "Orvan unk4 race track banner"), ("dialog", "About Orvanunk4")]:
        check(f"accessible {role} {name}", (role, name) in named, True)
    check("no application around the window", any(n.get("role", {}).get("value") == "application" for n in tree),
          False)
    check("an access key", accessible("menuitem", "Help"), [None, "expanded=False", "keyshortcuts=Alt+H"])
    check("a box described by its description",
          named[("checkbox", "1024")].get("description", {}).get("value"),
          "Used for clipping help, usually in sections with elevations.")
    c.key("F1", vk=112)
    order = []
    for _ in range(3):
        c.key("Tab", vk=9)
        order.append(focused())
    check("About's tab order", order, ["picIcon", "Picture1", "cmdOK"])
    check("About's text keeps its three spaces", c.js("""(() => {
        const text = $("lblDescription").firstChild, range = document.createRange(), width = (at, n) => {
            range.setStart(text, at); range.setEnd(text, at + n); return range.getBoundingClientRect().width; };
        return width(9, 3) === 3 * width(19, 1);
    })()"""), True)
    c.key("Escape", vk=27)
    check("Esc presses About's OK", [shown("about"), c.js("$('client').contains(document.activeElement)")],
          [False, True])
    # About moves by its title bar and leaves the main window usable; its close button closes it.
    click("mnuHelp")
    click("mnuHelpAbout")
    x, y = c.js("[$('aboutTitle').getBoundingClientRect().left + 40, $('aboutTitle').getBoundingClientRect().top + 5]")
    for kind, dx, dy in (("mousePressed", 0, 0), ("mouseMoved", 60, 130), ("mouseReleased", 60, 130)):
        c.call("Input.dispatchMouseEvent", type=kind, x=x + dx, y=y + dy, button="left", buttons=1, clickCount=1)
    check("About moved", c.js("[$('about').offsetLeft, $('about').offsetTop]"), [100, 220])
    new_value("12")
    click("cmdGo")
    check("the main window beside About", [shown("about"), value()[0], ticked()], [True, "12", [2, 3]])
    click("aboutClose")
    check("About's close button", [shown("about"), focused()], [False, "Text1"])

    # High contrast: every control keeps a frame of its own, not a shadow that the browser drops,
    # and the ticks show; the explanation keeps its frame.
    c.call("Emulation.setEmulatedMedia", features=[{"name": "forced-colors", "value": "active"},
                                                   {"name": "prefers-contrast", "value": "more"}])
    new_value("5")
    click("Check1_4")
    click("Label3_17")
    framed = ["Text1", "cmdGo", "cmdCancel", "Label1"] + [f"Check1_{i}" for i in range(20)]
    shot = base64.b64encode(c.screenshot()).decode()
    check("high contrast frames and ticks", c.js(f"""(async () => {{
        const shot = await pixels("data:image/png;base64,{shot}");
        const at = (x, y) => shot.data.slice((y * shot.width + x) * 4, (y * shot.width + x) * 4 + 3).join();
        const o = $("client").getBoundingClientRect(), ground = at(o.left + 495, o.top + 300);
        const gaps = (id) => {{ // frame pixels in the background's colour, corners aside
            const r = $(id).getBoundingClientRect(), [l, t, R, B] = [r.left, r.top, r.right - 1, r.bottom - 1];
            let n = 0;
            for (let x = l + 2; x <= R - 2; ++x) n += (at(x, t) === ground) + (at(x, B) === ground);
            for (let y = t + 2; y <= B - 2; ++y) n += (at(l, y) === ground) + (at(R, y) === ground);
            return n;
        }};
        const centre = (id) => {{ const r = $(id).getBoundingClientRect(); return at(r.left + 6, r.top + 6); }};
        return [{framed}.filter((id) => gaps(id) > 0),
            [...Array(20).keys()].filter((i) => centre("Check1_" + i) !== ground)];
    }})()"""), [[], ticked()])
    c.call("Emulation.setEmulatedMedia", features=[])
    click("Label1")
    new_value("5")

    # A refused clipboard write is said next to the value, and the next action writes it.
    c.browser_call("Browser.setPermission", permission={"name": "clipboard-write"}, setting="denied")
    click("Check1_0")
    check("refusal said", eventually("$('clipNotice').textContent.includes('clipboard')"), True)
    c.browser_call("Browser.grantPermissions", permissions=BOTH)
    c.key("Shift", vk=16)
    check("written at the next action", [eventually("$('clipNotice').textContent === ''"), clipboard()], [True, "1"])

    # Scaled pages: at 1.5x a scalable face no wider than the design; at 2x the design font.
    for scale, face in ((1.5, True), (2, False), (1, False)):
        c.call("Emulation.setDeviceMetricsOverride", width=800, height=600, deviceScaleFactor=scale,
               mobile=False)
        c.screenshot()  # a frame drawn: the page hears of the new resolution
        eventually(f"document.body.classList.contains('scaled') === {str(face).lower()}")
        widths = [place(f"Label3_{i}")[2] for i in range(20)]
        check(f"at {scale}x", [c.js("document.body.classList.contains('scaled')"), max(widths) <= 358],
              [face, True])

    # File > Exit ends the program: the page says so, the total stays on the clipboard.
    c.key("f", code="KeyF", modifiers=1, vk=70)
    c.key("x", code="KeyX", vk=88)
    check("ended", [shown("ended"), clipboard()], [True, "1"])
    c.key("F1", vk=112)
    check("F1 kept from the browser in every state", c.js("f1"), [True] * 5)

    # The page asked for nothing but its own file and the data it carries, and broke no rule of
    # its policy.
    check("the policy", c.js("document.querySelector('meta[http-equiv=Content-Security-Policy]')"
                             ".content.split('; ')[0]"), "default-src 'none'")
    check("policy violations", c.js("violations"), [])
    requests = [e["params"]["request"]["url"] for e in c.events
                if e.get("method") == "Network.requestWillBeSent"]
    check("requests", [u for u in requests if u != url and not u.startswith("data:")], [])
    check("console errors", [e["params"]["entry"]["text"] for e in c.events
                             if e.get("method") == "Log.entryAdded"
                             and e["params"]["entry"]["level"] == "error"], [])
finally:
    c.close()

print(f"{len(failures)} failed" if failures else "all passed")
sys.exit(1 if failures else 0)
