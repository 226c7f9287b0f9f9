#!/usr/bin/python3
"""Writes one font per bitmap strike of a TrueType font with embedded bitmaps (EBLC/EBDT).

Qt registers a bitmap font by the pixel size of its first strike alone, so a font with strikes
of 13, 16 and 20 pixels would only ever draw at 13. Split into one font per strike, every
strike is offered, and Qt picks among them by pixel size.

Usage: split_strikes.py SOURCE.ttf OUTPUT_PREFIX HEADER PIXELS...
writes OUTPUT_PREFIX_<pixels>.ttf for each strike asked for, and a C++ header listing each
strike's pixel size and ascent (Windows sizes a bitmap font by its character height, which in
these fonts is the ascent); fails if the source lacks a strike.
"""
import copy
import sys

from fontTools.ttLib import TTFont


def main(source, prefix, header, sizes):
    font = TTFont(source)
    if "EBLC" not in font or "EBDT" not in font:
        sys.exit(f"{source}: no bitmap strikes")
    strikes, data = font["EBLC"].strikes, font["EBDT"].strikeData
    by_size = {s.bitmapSizeTable.ppemY: k for k, s in enumerate(strikes)}
    rows = []
    for size in sizes:
        if size not in by_size:
            sys.exit(f"{source}: no {size}-pixel strike (has {sorted(by_size)})")
        k = by_size[size]
        one = copy.deepcopy(font)
        one["EBLC"].strikes = [strikes[k]]
        one["EBDT"].strikeData = [data[k]]
        if "EBSC" in one:  # scaling hints that point at the strikes dropped here
            del one["EBSC"]
        one.save(f"{prefix}_{size}.ttf")
        rows.append(f"    {{ {size}, {strikes[k].bitmapSizeTable.hori.ascender} }},")
    with open(header, "w", encoding="ascii") as out:
        out.write("// Written by split_strikes.py: each compiled-in strike's pixel size and ascent.\n#pragma once\n\n"
                  "constexpr struct\n{\n    int pixelSize;\n    int ascent;\n} DesignFontStrikes[] = {\n"
                  + "\n".join(rows) + "\n};\n")


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], sys.argv[3], [int(a) for a in sys.argv[4:]])
