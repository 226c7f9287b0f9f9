#!/usr/bin/python3
"""Load time of the page against a blank page, and GO on the largest value, in one headless
Chromium sitting. Figures, not a test.

Cold: each load in a newly started browser (fresh profile, nothing cached or compiled).
Warm: reloads in one tab. For each load, from the navigation's start: "painted", the first paint
with content (the window's static HTML is the whole window, fonts inlined); "interactive", when
the page answers input (the program loaded and the form ready; for the blank page, its load
event), or the first paint if that comes later: nothing answers before it is seen. Usage: bench_web.py PAGE.html RUNS
"""
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

TIMES = """(() => {
    const paint = performance.getEntriesByName("first-contentful-paint")[0].startTime;
    const ready = performance.getEntriesByName("orvan-ready")[0];
    const nav = performance.getEntriesByType("navigation")[0];
    return [paint, Math.max(paint, ready ? ready.startTime : nav.loadEventEnd)];
})()"""
DONE = """performance.getEntriesByName("first-contentful-paint").length > 0
    && (document.title === "blank" ? performance.getEntriesByType("navigation")[0].loadEventEnd > 0
        : performance.getEntriesByName("orvan-ready").length > 0)"""


def load(browser, path):
    browser.open("file://" + path)
    browser.wait_for(DONE)
    return browser.js(TIMES)


def cold(path):
    browser = cdp.Chromium(os.environ.get("ORVAN_CHROMIUM", "chromium"))
    try:
        return load(browser, path)
    finally:
        browser.close()


def warm(browser, path):
    load(browser, path)
    return [load(browser, path) for _ in range(RUNS)]


def median(rows, k):
    return statistics.median(r[k] for r in rows)


PAGES = (("blank page", BLANK), ("Orvan unk4", PAGE))
# The cold loads take turns, so that both pages meet the same load on a shared machine.
results = {name: {"cold": []} for name, _ in PAGES}
for _ in range(RUNS):
    for name, path in PAGES:
        results[name]["cold"].append(cold(path))
browser = cdp.Chromium(os.environ.get("ORVAN_CHROMIUM", "chromium"))
try:
    for name, path in PAGES:
        results[name]["warm"] = warm(browser, path)
    # GO on 1048575: the click's whole handler (twenty ticks, each with its total written to the
    # value box and the clipboard), timed in the page.
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
finally:
    browser.close()

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
print(f"GO on 1048575: median {statistics.median(go):.2f} ms, slowest {max(go):.2f} ms ({RUNS} runs)")
