#pragma once

// The main window as designed: its captions, its menu bar, and every control's place and size
// in twips (1/1440 inch), measured from the top-left corner of the client area below the menu
// bar. This header is data only; each front end converts to pixels with px(), and only when it
// places a control.

#include "flags/flag_model.h"
#include "form/control_table.h"
#include "form/twips.h"

#include <array>
#include <string_view>

namespace layout {

using form::Command;
using form::Control;
using form::Font;
using form::Kind;
using twips::px;
using twips::Rect;
using twips::TwipsPerPixel;

constexpr std::string_view Caption = "Orvan unk4 ver.2.2";
// The program's title, which the invalid-value message box carries.
constexpr std::string_view ProgramTitle = "Orvanunk4";

// The client area below the menu bar.
constexpr int ClientWidth = 7500;
constexpr int ClientHeight = 6630;

// The instruction text of Label23 has two spaces after "GO" and two before "OR".
constexpr std::string_view Instructions
    = "Input current unk4 value and click GO  to see individual unk4 values  OR Click on "
      "individual unk4 values to get a running total to input to OrvanTrk";

// Ordered by top edge, the popup last so that it is created last and stacks above every label.
// clang-format off
constexpr Control Controls[] = {
    // name        kind             caption                     left   top  width height tab  command          font
    { "Label23",   Kind::WrapLabel, Instructions,                360,  120,  5280,  495, 44, Command::None,   Font::Window },
    { "cmdCancel", Kind::Button,    "Cancel",                   6120,  240,  1215,  495, 21, Command::Cancel, Font::Window },
    { "Label24",   Kind::Label,     "For more detail click on each flag description;  "
                                    "to close, click again",     360,  600,  5295,  255, 45, Command::None,   Font::Window },
    { "Text1",     Kind::TextBox,   "",                         1920, 1080,  2055,  345, 23, Command::None,   Font::ValueBox },
    { "cmdGo",     Kind::Button,    "GO",                       4080, 1080,   495,  375,  0, Command::Go,     Font::Window },
    { "Label2",    Kind::AutoLabel, "Current unk 4 value",       360, 1200,  1395,  195, 22, Command::None,   Font::Window },
    { "Label1",    Kind::Popup,     "label1",                   6120, 1200,   780,  765, 46, Command::None,   Font::Window },
};
// clang-format on

constexpr int ControlCount = sizeof(Controls) / sizeof(Controls[0]);

// The control of that name; a name the table does not hold fails (form::find).
constexpr const Control &control(std::string_view name)
{
    return form::find(Controls, name);
}

// The value box takes no more characters than this: far more digits than any value needs (every
// value above 1048575 only gets the limit message), few enough that the box stays responsive
// whatever is pasted.
constexpr int ValueBoxLimit = 4096;

// The twenty flag rows, Check1(i) and Label3(i), repeat at a fixed pitch.
constexpr int FlagBoxLeft = 360;
constexpr int FlagBoxWidth = 915;
constexpr int DescriptionLeft = 1440;
constexpr int RowTop = 1680;
constexpr int RowPitch = 240;
constexpr int RowHeight = 195;    // one line of the window font
constexpr int FlagBoxTabBase = 1; // Check1(i) has tab index i + 1
constexpr int DescriptionTabBase = 24;

constexpr int rowTop(int index)
{
    return RowTop + RowPitch * index;
}

// The descriptions size themselves to their text; these are their widths as designed, in the
// window font at 96 dpi. A description never grows past its designed width.
// clang-format off
constexpr int DescriptionWidths[] = {
    //  0     1     2     3     4     5     6     7     8     9
     2355, 3810, 3045, 4710, 3660, 3270, 3315, 3870, 4320, 3375,
    // 10    11    12    13    14    15    16    17    18    19
     4035, 4635, 4635, 5355, 3570, 3615, 2880, 2400, 5370, 2415,
};
// clang-format on

// The load step puts the value box first in the tab order; the controls that held tab
// indices 0 to 22 move one place back.
constexpr int LoadedTextBoxTab = 0;
constexpr int tabAfterLoad(std::string_view name, int storedTab)
{
    if (name == "Text1")
        return LoadedTextBoxTab;
    return storedTab < control("Text1").tab ? storedTab + 1 : storedTab;
}

// One place in the window's order: a row of Controls, or a flag row's box or description.
struct Slot
{
    enum What { Table, FlagBox, Description } what;
    int index; // the row of Controls, or the flag's index
};

constexpr int tabAfterLoad(Slot slot)
{
    switch (slot.what) {
    case Slot::Table:
        return tabAfterLoad(Controls[slot.index].name, Controls[slot.index].tab);
    case Slot::FlagBox:
        return tabAfterLoad("Check1", FlagBoxTabBase + slot.index);
    case Slot::Description:
        break;
    }
    return DescriptionTabBase + slot.index;
}

// Labels and pictures take no focus; buttons, the value box and the flag boxes do.
constexpr bool takesFocus(Slot slot)
{
    return slot.what == Slot::FlagBox
        || (slot.what == Slot::Table
            && (Controls[slot.index].kind == Kind::Button
                || Controls[slot.index].kind == Kind::TextBox));
}

constexpr int SlotCount = ControlCount + 2 * flags::FlagCount;

// Every control of the window, the flag rows' too, by tab index after the load step. The front
// ends create (or write) their controls in this order, so it is also the order in which they
// stack, the popup last, and Tab walks the ones that take the focus in it.
constexpr std::array<Slot, SlotCount> windowOrder()
{
    std::array<Slot, SlotCount> order {};
    int n = 0;
    for (int i = 0; i < ControlCount; ++i)
        order[n++] = { Slot::Table, i };
    for (int i = 0; i < flags::FlagCount; ++i) {
        order[n++] = { Slot::FlagBox, i };
        order[n++] = { Slot::Description, i };
    }
    for (int i = 1; i < SlotCount; ++i) { // a stable insertion sort
        for (int j = i; j > 0 && tabAfterLoad(order[j]) < tabAfterLoad(order[j - 1]); --j) {
            const Slot moved = order[j];
            order[j] = order[j - 1];
            order[j - 1] = moved;
        }
    }
    return order;
}
constexpr std::array<Slot, SlotCount> WindowOrder = windowOrder();

constexpr int focusStopCount()
{
    int n = 0;
    for (const Slot &slot : WindowOrder)
        n += takesFocus(slot) ? 1 : 0;
    return n;
}

// The tab order: the value box, GO, the twenty flag boxes, Cancel.
constexpr std::array<Slot, focusStopCount()> focusOrder()
{
    std::array<Slot, focusStopCount()> order {};
    int n = 0;
    for (const Slot &slot : WindowOrder) {
        if (takesFocus(slot))
            order[n++] = slot;
    }
    return order;
}
constexpr auto FocusOrder = focusOrder();

// Detail popup placement. Each flag's popup has its own height; flags 0 to 15 hang down from
// their description, flags 16 to 19 stand up from it so that its bottom meets the description's.
// clang-format off
constexpr int PopupHeights[] = {
    //  0     1     2     3     4     5     6     7     8     9
      255, 1440,  720,  720,  820,  500,  480,  720, 1680, 1250,
    // 10    11    12    13    14    15    16    17    18    19
     2265, 1665, 1425, 1665, 1275, 1275, 1635,  675, 1035,  675,
};
// clang-format on
constexpr int FirstStandingPopup = 16;
constexpr int PopupLeft = 1440;
constexpr int PopupWidth = 4740;

constexpr int popupTop(int index)
{
    return index < FirstStandingPopup ? rowTop(index)
                                      : rowTop(index) + RowHeight - PopupHeights[index];
}

// Where Help > What is [FWO]? shows the popup: over the instructions at the top.
constexpr Rect FwoPopup = { 500, 50, 4800, 500 };

// The menu bar, in order. An ampersand marks the access key; no entry has a shortcut key.
enum class MenuKind { Menu, Entry, Separator };
struct MenuEntry
{
    std::string_view name;
    MenuKind kind;
    std::string_view caption;
    Command command;
};
// clang-format off
constexpr MenuEntry Menus[] = {
    { "mnuFile",      MenuKind::Menu,      "&File",                Command::None },
    { "mnuFileExit",  MenuKind::Entry,     "E&xit",                Command::Exit },
    { "mnuHelp",      MenuKind::Menu,      "&Help",                Command::None },
    { "mnuFWO",       MenuKind::Entry,     "&What is [FWO]?...",   Command::Fwo },
    { "mnuSeparator", MenuKind::Separator, "-",                    Command::None },
    { "mnuHelpAbout", MenuKind::Entry,     "&About Orvanunk4...",  Command::About },
};
// clang-format on

static_assert(control("Text1").name == "Text1" && control("Label1").name == "Label1");
static_assert(rowTop(10) == 4080);
static_assert(
    rowTop(19) + RowHeight == ClientHeight - 195, "the last row ends 195 above the bottom");
static_assert(
    sizeof(DescriptionWidths) / sizeof(int) == 20 && sizeof(PopupHeights) / sizeof(int) == 20);
static_assert(px(ClientWidth) == 500 && px(ClientHeight) == 442);
static_assert(popupTop(0) == 1680 && popupTop(0) + PopupHeights[0] == 1935);
static_assert(popupTop(10) + PopupHeights[10] == 6345 && popupTop(15) + PopupHeights[15] == 6555);
static_assert(
    popupTop(16) == 4080 && popupTop(17) == 5280 && popupTop(18) == 5160 && popupTop(19) == 5760);
static_assert(tabAfterLoad("cmdGo", 0) == 1 && tabAfterLoad("cmdCancel", 21) == 22
    && tabAfterLoad("Label23", 44) == 44);
static_assert(FlagBoxTabBase + 19 < control("cmdCancel").tab, "the boxes come before Cancel");
static_assert(FocusOrder.size() == 23 && Controls[FocusOrder[0].index].name == "Text1"
    && Controls[FocusOrder[1].index].name == "cmdGo" && FocusOrder[2].what == Slot::FlagBox
    && FocusOrder[21].index == 19 && Controls[FocusOrder[22].index].name == "cmdCancel");
static_assert(Controls[WindowOrder[SlotCount - 1].index].name == "Label1", "the popup on top");

} // namespace layout
