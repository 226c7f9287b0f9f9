#pragma once

// The About window as designed: its captions, its client area and every control's place, in
// twips. Pixels come from px() only, when a control is placed.

#include "form/control_table.h"
#include "form/twips.h"

#include <string_view>

namespace about_layout {

using form::Font;
using form::Kind;
using twips::px;

// The About window's own commands: its OK closes it, and the main window's form never sees it.
enum class Command {
    None,
    Close,
    Count,
};
using Control = form::ControlOf<Command>;

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

// Ordered by top edge. picIcon fits itself to the icon, which its design size already does.
// clang-format off
constexpr Control Controls[] = {
    // name             kind                caption      left   top  width height tab  command         font
    { "Picture1",       Kind::Picture,      "",           240,  240,  5295, 2055,  3, Command::None,       Font::Window },
    { "picIcon",        Kind::Picture,      "",           240, 2520,   540,  540,  1, Command::None,       Font::Window },
    { "lblDescription", Kind::CentredLabel, Description, 1440, 2520,  2925,  450,  2, Command::None,       Font::Window },
    { "cmdOK",          Kind::Button,       "OK",        2280, 3120,  1260,  345,  0, Command::Close,      Font::Window },
};
// clang-format on

// The control of that name; a name the table does not hold fails (form::find).
constexpr const Control &control(std::string_view name)
{
    return form::find(Controls, name);
}

static_assert(px(ClientWidth) == 385 && px(ClientHeight) == 240);
// picIcon's design size is the icon plus its border.
static_assert(px(control("picIcon").width) == IconSize + 2 * PictureBorder);
// Picture1's inner area shows all of the picture but its last column and bottom 16 rows.
static_assert(PictureWidth - (px(control("Picture1").width) - 2 * PictureBorder) == 1);
static_assert(PictureHeight - (px(control("Picture1").height) - 2 * PictureBorder) == 16);

} // namespace about_layout
