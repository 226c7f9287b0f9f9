#!/usr/bin/python3
"""Assembles the one self-contained page: the template with the window's HTML, the fonts, the
pictures, the compiled program (its WebAssembly inlined) and the page's script.

Usage: make_page.py TEMPLATE MARKUP FONT13 FONT16 ABOUT ICON MODULE WASM PAGE_JS OUTPUT
"""
import base64
import sys


def main(template, markup, font13, font16, about, icon, module, wasm, page_js, output):
    def read(path):
        with open(path, "rb") as f:
            return f.read()

    def b64(path):
        return base64.b64encode(read(path)).decode("ascii")

    parts = {
        "@MARKUP@": read(markup).decode("utf-8"),
        "@FONT13@": b64(font13),
        "@FONT16@": b64(font16),
        "@ABOUT@": b64(about),
        "@ICON@": b64(icon),
        "@MODULE@": read(module).decode("utf-8").replace("</script", "<\\/script"),
        "@WASM@": b64(wasm),
        "@PAGE@": read(page_js).decode("utf-8"),
    }
    page = read(template).decode("utf-8")
    for key, text in parts.items():
        if key not in page:
            sys.exit(f"{template}: no {key}")
        page = page.replace(key, text)
    with open(output, "w", encoding="utf-8") as out:
        out.write(page)


if __name__ == "__main__":
    if len(sys.argv) != 11:
        sys.exit(__doc__)
    main(*sys.argv[1:])
