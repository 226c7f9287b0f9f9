#pragma once

// Splits a TrueType font with embedded bitmap strikes (an EBLC table) into fonts of one strike
// each.
//
// Qt registers a bitmap font by the pixel size of its first strike alone, so a font with
// strikes of 13, 16 and 20 pixels would only ever draw at 13. Registered one strike at a time,
// every strike is offered, and Qt picks among them by pixel size.

#include <QByteArray>

#include <vector>

struct BitmapStrike
{
    int pixelSize;   // the strike's pixels per em, as FreeType and fontconfig report it
    int ascent;      // its pixels above the baseline, as the strike table gives them
    QByteArray font; // a whole font file holding this strike only
};

// One font per strike, in the order of the source's strike table. Empty where the source is
// not a well-formed TrueType font with bitmap strikes; every offset and length is checked
// against the data before it is followed.
std::vector<BitmapStrike> splitBitmapStrikes(const QByteArray &font);
