#!/usr/bin/python3
"""Writes a bitmap strike of a TrueType font (EBLC/EBDT) as an outline font, WOFF2.

Browsers draw nothing from bitmap-only fonts. Here every lit pixel of the strike becomes
square outline (the lit pixels of a row joined into one rectangle), 64 units to the pixel, so
that the font drawn at the strike's pixel size fills exactly the strike's pixels.

Usage: outline_strikes.py SOURCE.ttf OUTPUT_PREFIX PIXELS...
writes OUTPUT_PREFIX_<pixels>.woff2 for each strike asked for, holding printable ASCII only
(every text of the program is plain 7-bit); fails if the source lacks a strike.
"""
import itertools
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

UNITS = 64  # per pixel
CHARACTERS = range(0x20, 0x7F)


def pixels(glyph):
    """The glyph's lit pixels as rows of booleans, top row first (bit-aligned formats)."""
    m = glyph.metrics
    data = glyph.imageData
    bits = m.width * m.height
    lit = [(data[i // 8] >> (7 - i % 8)) & 1 for i in range(bits)] if data else [0] * bits
    return [lit[r * m.width:(r + 1) * m.width] for r in range(m.height)]


def outline(glyph):
    pen = TTGlyphPen(None)
    m = glyph.metrics
    for r, row in enumerate(pixels(glyph)):
        top, bottom = (m.BearingY - r) * UNITS, (m.BearingY - r - 1) * UNITS
        c = 0
        for lit, run in itertools.groupby(row):
            start, c = c, c + len(list(run))
            if lit:
                left, right = (m.BearingX + start) * UNITS, (m.BearingX + c) * UNITS
                # Clockwise, as TrueType wants an outer contour.
                pen.moveTo((left, bottom))
                for point in ((left, top), (right, top), (right, bottom)):
                    pen.lineTo(point)
                pen.closePath()
    return pen.glyph()


def main(source, prefix, sizes):
    font = TTFont(source)
    cmap = font.getBestCmap()
    by_size = {s.bitmapSizeTable.ppemY: k for k, s in enumerate(font["EBLC"].strikes)}
    names = {code: f"c{code:02x}" for code in CHARACTERS}
    order = [".notdef", *names.values()]
    for size in sizes:
        if size not in by_size:
            sys.exit(f"{source}: no {size}-pixel strike (has {sorted(by_size)})")
        k = by_size[size]
        strike = font["EBDT"].strikeData[k]
        hori = font["EBLC"].strikes[k].bitmapSizeTable.hori
        glyphs, metrics = {name: TTGlyphPen(None).glyph() for name in order}, dict.fromkeys(order, (0, 0))
        for code, name in names.items():
            glyph = strike.get(cmap.get(code))
            if glyph is not None:
                glyph.decompile()
                glyphs[name] = outline(glyph)
                metrics[name] = (glyph.metrics.Advance * UNITS, glyph.metrics.BearingX * UNITS)
        family = f"Orvan Sans {size}"
        builder = FontBuilder(size * UNITS, isTTF=True)
        builder.setupGlyphOrder(order)
        builder.setupCharacterMap(names)
        builder.setupGlyf(glyphs)
        builder.setupHorizontalMetrics(metrics)
        ascent, descent = hori.ascender * UNITS, hori.descender * UNITS
        builder.setupHorizontalHeader(ascent=ascent, descent=descent)
        builder.setupNameTable({"familyName": family, "styleName": "Regular"})
        builder.setupOS2(version=4, sTypoAscender=ascent, sTypoDescender=descent, sTypoLineGap=0,
                         usWinAscent=ascent, usWinDescent=-descent, fsSelection=0x40 | 0x80)
        builder.setupPost()
        # The design font's own dates, not the build's: two builds give the same bytes.
        builder.font["head"].created = font["head"].created
        builder.font["head"].modified = font["head"].modified
        builder.font.recalcTimestamp = False
        builder.font.flavor = "woff2"
        builder.save(f"{prefix}_{size}.woff2")


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2], [int(a) for a in sys.argv[3:]])
