#!/usr/bin/python3
"""Load time of the page against a blank page, and GO on the largest value, in one headless
Chromium sitting. Figures, not a test.

Cold: each load in a newly started browser (fresh profile, nothing cached or compiled).
Warm: reloads in one tab. For each load, from the navigation's start: "painted", the first paint
with content (the window's static HTML is the whole window, fonts inlined); "interactive", when
the page answers input (the program loaded and the form ready; for the blank page, its load
event), or the first paint if that comes later: nothing answers before it is seen.

First click, as a user feels it: from the navigation's start, real clicks (Input.dispatchMouseEvent)
on the first flag box, one after another until one takes effect (the box ticked, and for the page
the total in the value box); the time is when that click's change has been handled. The blank
page holds one check box at the same place. Cold and warm as above, in one sitting.

Memory: the page's DOM nodes and JavaScript heap, after a garbage collection, over 1,000 cycles
of a real click on the value box, the keys of 1040 and a click on GO.
Usage: bench_web.py PAGE.html RUNS
"""
import contextlib
import gzip
import os
import statistics
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "web", "tests"))
import cdp  # noqa: E402

PAGE, RUNS = os.path.abspath(sys.argv[1]), int(sys.argv[2])
BLANK = os.path.join(tempfile.mkdtemp(prefix="orvan-bench-"), "blank.html")
with open(BLANK, "w") as f:
    f.write("<!DOCTYPE html><title>blank</title><p>blank</p>")
CLICK_BLANK = os.path.join(os.path.dirname(BLANK), "box.html")
with open(CLICK_BLANK, "w") as f:
    f.write("<!DOCTYPE html><title>blank</title><input type=checkbox id=Check1_0 "
            "style='position:absolute;left:32px;top:138px;margin:0;width:13px;height:13px'>")
# Where the first flag box is drawn: the client area's (24, 112) below the menu bar, plus the margin.
BOX = (32 + 6, 8 + 18 + 112 + 6)
# When the first change of a box has been handled, in the page's clock (0 at the navigation's
# start); the page's own listeners on the box run before this one on the window.
EFFECT = """addEventListener("change", () => {
    if (!("effect" in window)) window.effect = performance.now(); });"""

TIMES = """(() => {
    const paint = performance.getEntriesByName("first-contentful-paint")[0].startTime;
    const ready = performance.getEntriesByName("orvan-ready")[0];
    const nav = performance.getEntriesByType("navigation")[0];
    return [paint, Math.max(paint, ready ? ready.startTime : nav.loadEventEnd)];
})()"""
DONE = """performance.getEntriesByName("first-contentful-paint").length > 0
    && (document.title === "blank" ? performance.getEntriesByType("navigation")[0].loadEventEnd > 0
        : performance.getEntriesByName("orvan-ready").length > 0)"""


@contextlib.contextmanager
def chromium(effect=False):
    """A newly started browser, closed at the end of the with block; effect: it records the first
    change of a box in window.effect."""
    browser = cdp.Chromium(os.environ.get("ORVAN_CHROMIUM", "chromium"))
    try:
        if effect:
            browser.call("Page.addScriptToEvaluateOnNewDocument", source=EFFECT)
        yield browser
    finally:
        browser.close()


def load(browser, path):
    browser.open("file://" + path)
    browser.wait_for(DONE)
    return browser.js(TIMES)


def cold(path):
    with chromium() as browser:
        return load(browser, path)


def warm(browser, path):
    load(browser, path)
    return [load(browser, path) for _ in range(RUNS)]


def first_click(browser, path):
    browser.call("Page.navigate", url="file://" + path)
    while True:
        browser.click(*BOX)
        # The click toggles the box of the document it reached; a click on the old one is lost.
        effect = browser.js("window.effect ?? null")
        if effect is not None:
            return effect


def clicks(path):
    """Cold first clicks, each in a newly started browser, then warm ones in one tab."""
    cold_times = []
    for _ in range(RUNS):
        with chromium(effect=True) as browser:
            cold_times.append(first_click(browser, path))
    with chromium(effect=True) as browser:
        first_click(browser, path)
        warm_times = [first_click(browser, path) for _ in range(RUNS)]
    return statistics.median(cold_times), statistics.median(warm_times)


def median(rows, k):
    return statistics.median(r[k] for r in rows)


PAGES = (("blank page", BLANK), ("Orvan unk4", PAGE))
# The cold loads take turns, so that both pages meet the same load on a shared machine.
results = {name: {"cold": []} for name, _ in PAGES}
for _ in range(RUNS):
    for name, path in PAGES:
        results[name]["cold"].append(cold(path))
with chromium() as browser:
    for name, path in PAGES:
        results[name]["warm"] = warm(browser, path)
    # GO on 1048575: the click's whole handler (twenty ticks, each with its total written to the
    # value box and the clipboard), timed in the page.
    browser.call("Performance.enable")
    browser.call("Emulation.setFocusEmulationEnabled", enabled=True)

    def at(element):
        return browser.js(f"""(() => {{ const r = document.getElementById("{element}").getBoundingClientRect();
            return [r.left + Math.min(r.width / 2, 20), r.top + r.height / 2]; }})()""")

    def memory():
        browser.call("HeapProfiler.collectGarbage")
        m = {m["name"]: m["value"] for m in browser.call("Performance.getMetrics")["metrics"]}
        return int(m["Nodes"]), m["JSHeapUsedSize"] / 1024
    box, button, memory_after = at("Text1"), at("cmdGo"), {0: memory()}
    for cycle in range(1, 1001):
        browser.click(*box)
        browser.type("1040")
        browser.click(*button)
        if cycle in (250, 1000):
            memory_after[cycle] = memory()
    go = browser.js("""(() => {
        const value = document.getElementById("Text1"), go = document.getElementById("cmdGo");
        const times = [];
        for (let i = 0; i < %d; ++i) {
            value.value = "1048575"; go.disabled = false;
            const t = performance.now(); go.click(); times.push(performance.now() - t);
            if (value.value !== "1048575") throw new Error("GO gave " + value.value);
        }
        return times;
    })()""" % RUNS)

raw = os.path.getsize(PAGE)
packed = len(gzip.compress(open(PAGE, "rb").read(), 9))
print(f"{os.path.basename(PAGE)}: {raw} bytes ({raw / 1024:.1f} KiB), gzip -9 {packed} bytes ({packed / 1024:.1f} KiB)")
print(f"medians of {RUNS} loads, ms from navigation start; x blank = against the blank page")
print("| page | cold painted | cold interactive | × blank | warm painted | warm interactive | × blank |")
print("|---|---:|---:|---:|---:|---:|---:|")
blank = results["blank page"]
for name, r in results.items():
    row = [median(r["cold"], 0), median(r["cold"], 1), median(r["cold"], 1) / median(blank["cold"], 1),
           median(r["warm"], 0), median(r["warm"], 1), median(r["warm"], 1) / median(blank["warm"], 1)]
    print(f"| {name} | {row[0]:.0f} | {row[1]:.0f} | {row[2]:.2f} | {row[3]:.0f} | {row[4]:.0f} | {row[5]:.2f} |")
first = {name: clicks(path) for name, path in (("blank page", CLICK_BLANK), ("Orvan unk4", PAGE))}
print(f"first click on a flag box, medians of {RUNS}, ms from navigation start to the click's effect")
print("| page | cold | × blank | warm | × blank |")
print("|---|---:|---:|---:|---:|")
for name, (c, w) in first.items():
    print(f"| {name} | {c:.0f} | {c / first['blank page'][0]:.2f} | {w:.0f} | {w / first['blank page'][1]:.2f} |")
print("cycles of click the box, type 1040, GO: " + ", ".join(
    f"after {n}: {nodes} nodes, {heap:.0f} KiB heap" for n, (nodes, heap) in memory_after.items()))
print(f"GO on 1048575: median {statistics.median(go):.2f} ms, slowest {max(go):.2f} ms ({RUNS} runs)")
