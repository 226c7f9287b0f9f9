#!/usr/bin/python3
"""Assembles the one self-contained page: the template with the window's HTML, the fonts, the
pictures, the compiled program (its WebAssembly inlined) and the page's script.

The page declares what it may load (a Content-Security-Policy): nothing from anywhere, but its
own inline script and style, named by their SHA-256 hashes, its WebAssembly, and the fonts and
pictures it carries as data: URLs. Style attributes would need 'unsafe-inline', so the places
that the window's HTML writes into them move into the style sheet.

Usage: make_page.py TEMPLATE MARKUP FONT13 FONT16 ABOUT ICON MODULE WASM SEAM_JS PAGE_JS OUTPUT
"""
import base64
import hashlib
import re
import sys
from pathlib import Path

from fontTools.ttLib import TTFont


def round_captions(markup, font):
    """Buttons whose caption, centred, would stand on half a pixel (an odd spare width) and
    blur, lose a pixel on the right: the desktop windows round such a caption to the left."""
    font = TTFont(font)
    # units: the font's units per pixel, at its 13 pixels.
    cmap, advances, units = font.getBestCmap(), font["hmtx"].metrics, font["head"].unitsPerEm / 13

    def fix(m):
        width = sum(advances[cmap[ord(c)]][0] for c in m.group(3)) / units
        if (int(m.group(2)) - round(width)) % 2:
            return m.group(0).replace('px"', 'px;padding-right:1px"', 1)
        return m.group(0)

    return re.sub(r'<button id=(\w+) style="[^"]*width:(\d+)px[^"]*"[^>]*>([^<]*)</button>', fix, markup)


def styles_to_sheet(markup):
    """The markup without style attributes, and the style rules that place the same elements:
    by id where the element has one, else by a class per distinct style."""
    rules, classes = [], {}

    def move(m):
        tag, style = m.group(0), m.group(2)
        tag = tag.replace(f' style="{style}"', "", 1)
        name = re.search(r" id=(\w+)", tag)
        if name:
            rules.append(f"#{name.group(1)}{{{style}}}")
            return tag
        if style not in classes:
            classes[style] = f"s{len(classes)}"
            rules.append(f".{classes[style]}{{{style}}}")
        cls = re.search(r' class=(?:"([^"]*)"|(\w+))', tag)
        if cls:
            both = f' class="{cls.group(1) or cls.group(2)} {classes[style]}"'
            return tag.replace(cls.group(0), both, 1)
        return tag.replace(m.group(1), f"{m.group(1)} class={classes[style]}", 1)

    markup = re.sub(r'(<\w+)[^>]*? style="([^"]*)"[^>]*>', move, markup)
    return markup, "\n".join(rules) + "\n"


def csp_hash(text):
    digest = hashlib.sha256(text.encode("utf-8")).digest()
    return "'sha256-" + base64.b64encode(digest).decode() + "'"


def content_security_policy(page):
    """The policy that lets the page run as it is and load nothing else."""
    scripts = re.findall(r"<script>(.*?)</script>", page, re.S)
    styles = re.findall(r"<style>(.*?)</style>", page, re.S)
    if len(scripts) != 2 or len(styles) != 1 or " style=" in page:
        sys.exit("make_page.py: the page's scripts and styles are not the ones the policy names")
    return "; ".join([
        "default-src 'none'",
        "script-src " + " ".join(map(csp_hash, scripts)) + " 'wasm-unsafe-eval'",
        "style-src " + csp_hash(styles[0]),
        "font-src data:",
        "img-src data:",
        "base-uri 'none'",
    ])


def compact(script):
    """The page's own script without its comment lines and indentation: a sixth of the page's
    script, and nothing that runs. Lines stay lines, so no statement joins another."""
    lines = (line.strip() for line in script.splitlines())
    return "".join(line + "\n" for line in lines if line and not line.startswith("//"))


def main(template, markup, font13, font16, about, icon, module, wasm, seam_js, page_js, output):
    def b64(path):
        return base64.b64encode(Path(path).read_bytes()).decode("ascii")

    def text(path):
        return Path(path).read_text(encoding="utf-8")

    markup, placed = styles_to_sheet(round_captions(text(markup), font13))
    parts = {
        "@MARKUP@": markup,
        "@PLACES@": placed,
        "@FONT13@": b64(font13),
        "@FONT16@": b64(font16),
        "@ABOUT@": b64(about),
        "@ICON@": b64(icon),
        "@MODULE@": text(module).replace("</script", "<\\/script"),
        "@WASM@": b64(wasm),
        "@SEAM@": compact(text(seam_js)),
        "@PAGE@": compact(text(page_js)),
    }
    page = text(template)
    for key, part in parts.items():
        if key not in page:
            sys.exit(f"{template}: no {key}")
        page = page.replace(key, part)
    Path(output).write_text(page.replace("@CSP@", content_security_policy(page)), encoding="utf-8")


if __name__ == "__main__":
    if len(sys.argv) != 12:
        sys.exit(__doc__)
    main(*sys.argv[1:])
