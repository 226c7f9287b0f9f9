#pragma once

// The About window as designed: its captions, its client area and every control's place, in
// twips. Pixels come from px() only, when a control is placed.

#include "form/twips.h"

#include <string_view>

namespace about_layout {

using twips::px;

constexpr std::string_view Caption = "About Orvanunk4";
// Three spaces before "version" and three before "July"; wrapped and centred in the label.
constexpr std::string_view Description
    = "Orvanunk4   version 2.2   July 24, 2004 Written for OrvanTrk track builders.";

constexpr int ClientWidth = 5775;
constexpr int ClientHeight = 3600;

// The sunken 3-D border of both picture boxes, in pixels on each side.
constexpr int PictureBorder = 2;

// The program icon shown in picIcon, in pixels.
constexpr int IconSize = 32;

// The picture shown in Picture1, in pixels; the box shows only its top-left part.
constexpr int PictureWidth = 350;
constexpr int PictureHeight = 149;

enum class Kind { Picture, Label, Button };

struct Control
{
    const char *name;
    Kind kind;
    int left, top, width, height, tab;
};

// Ordered by top edge. picIcon fits itself to the icon, which its design size already does.
// clang-format off
constexpr Control Controls[] = {
    //  name               kind            left   top  width height  tab
    { "Picture1",       Kind::Picture,      240,   240,  5295,  2055,   3 },
    { "picIcon",        Kind::Picture,      240,  2520,   540,   540,   1 },
    { "lblDescription", Kind::Label,       1440,  2520,  2925,   450,   2 },
    { "cmdOK",          Kind::Button,      2280,  3120,  1260,   345,   0 },
};
// clang-format on

static_assert(px(ClientWidth) == 385 && px(ClientHeight) == 240);
// picIcon's design size is the icon plus its border.
static_assert(px(Controls[1].width) == IconSize + 2 * PictureBorder);
// Picture1's inner area shows all of the picture but its last column and bottom 16 rows.
static_assert(PictureWidth - (px(Controls[0].width) - 2 * PictureBorder) == 1);
static_assert(PictureHeight - (px(Controls[0].height) - 2 * PictureBorder) == 16);

} // namespace about_layout
