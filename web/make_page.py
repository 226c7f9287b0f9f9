#!/usr/bin/python3
"""Assembles the one self-contained page: the template with the window's HTML, the fonts, the
pictures, the compiled program (its WebAssembly inlined) and the page's script.

Usage: make_page.py TEMPLATE MARKUP FONT13 FONT16 ABOUT ICON MODULE WASM SEAM_JS PAGE_JS OUTPUT
"""
import base64
import re
import sys

from fontTools.ttLib import TTFont


def round_captions(markup, font):
    """Buttons whose caption, centred, would stand on half a pixel (an odd spare width) and
    blur, lose a pixel on the right: the desktop windows round such a caption to the left."""
    cmap, advances = TTFont(font).getBestCmap(), TTFont(font)["hmtx"].metrics
    units = TTFont(font)["head"].unitsPerEm / 13  # per pixel, at the font's 13 pixels

    def fix(m):
        width = sum(advances[cmap[ord(c)]][0] for c in m.group(3)) / units
        if (int(m.group(2)) - round(width)) % 2:
            return m.group(0).replace('px"', 'px;padding-right:1px"', 1)
        return m.group(0)

    return re.sub(r'<button id=(\w+) style="[^"]*width:(\d+)px[^"]*"[^>]*>([^<]*)</button>', fix, markup)


def compact(script):
    """The page's own script without its comment lines and indentation: a sixth of the page's
    script, and nothing that runs. Lines stay lines, so no statement joins another."""
    lines = (line.strip() for line in script.splitlines())
    return "".join(line + "\n" for line in lines if line and not line.startswith("//"))


def main(template, markup, font13, font16, about, icon, module, wasm, seam_js, page_js, output):
    def read(path):
        with open(path, "rb") as f:
            return f.read()

    def b64(path):
        return base64.b64encode(read(path)).decode("ascii")

    parts = {
        "@MARKUP@": round_captions(read(markup).decode("utf-8"), font13),
        "@FONT13@": b64(font13),
        "@FONT16@": b64(font16),
        "@ABOUT@": b64(about),
        "@ICON@": b64(icon),
        "@MODULE@": read(module).decode("utf-8").replace("</script", "<\\/script"),
        "@WASM@": b64(wasm),
        "@SEAM@": compact(read(seam_js).decode("utf-8")),
        "@PAGE@": compact(read(page_js).decode("utf-8")),
    }
    page = read(template).decode("utf-8")
    for key, text in parts.items():
        if key not in page:
            sys.exit(f"{template}: no {key}")
        page = page.replace(key, text)
    with open(output, "w", encoding="utf-8") as out:
        out.write(page)


if __name__ == "__main__":
    if len(sys.argv) != 12:
        sys.exit(__doc__)
    main(*sys.argv[1:])
