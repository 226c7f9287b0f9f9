#!/usr/bin/python3
"""Writes one font per bitmap strike of a TrueType font with embedded bitmaps (EBLC/EBDT).

Qt registers a bitmap font by the pixel size of its first strike alone, so a font with strikes
of 13, 16 and 20 pixels would only ever draw at 13. Split into one font per strike, every
strike is offered, and Qt picks among them by pixel size.

Usage: split_strikes.py SOURCE.ttf OUTPUT_PREFIX PIXELS...
writes OUTPUT_PREFIX_<pixels>.ttf for each strike asked for; fails if the source lacks one.
"""
import copy
import sys

from fontTools.ttLib import TTFont


def main(source, prefix, sizes):
    font = TTFont(source)
    if "EBLC" not in font or "EBDT" not in font:
        sys.exit(f"{source}: no bitmap strikes")
    strikes = font["EBLC"].strikes
    data = font["EBDT"].strikeData
    by_size = {s.bitmapSizeTable.ppemY: k for k, s in enumerate(strikes)}
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


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], [int(a) for a in sys.argv[3:]])
