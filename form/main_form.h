#pragma once

// The main window's behaviour, free of any toolkit: the load step, the value box's reset and
// filter, GO, the running total, the end of the program and the detail popup.
//
// MainForm keeps almost no state of its own: everything lives in the controls, which it reads
// and sets through a MainView; it only remembers whether the popup was opened from the
// keyboard, which decides whether moving the focus closes it. A front end builds the controls from
// main_form_layout.h, forwards each of the user's actions to the handler of the same name and shows
// what the form sets. When the form itself ticks or unticks a box (GO, the reset), it runs the
// flag-box step at once, nested inside its loop, whatever the toolkit does on a change made by
// code.

#include "form/control_table.h"
#include "form/main_view.h"
#include "form/twips.h"

#include <cstddef>
#include <string_view>

namespace form {

class MainForm
{
public:
    explicit MainForm(MainView &view);

    // Once, after the controls are created and before the window is shown.
    void load();

    // A mouse click on the value box (on release, after the box has placed the caret).
    void valueClicked();
    // Text typed in one go (an input method's commit, a composed character) enters the value
    // box only if every character of it would pass one by one.
    static bool acceptsTyped(std::u32string_view text);
    // The user changed the value box's text by typing or deleting.
    void valueEdited();
    // A paste that would leave `lengthAfter` characters in the value box is taken whole, or,
    // past layout::ValueBoxLimit, refused whole: cutting it short could change its value.
    static bool acceptsPaste(std::size_t lengthAfter);

    // A command button was clicked or a menu entry chosen: the command its table row carries.
    void run(Command command);

    // The user ticked or unticked box `index`; the view already shows the new state.
    void flagClicked(int index);

    void descriptionClicked(int index);
    void popupClicked();

    // F1 with the focus on flag box `index` (or on no flag box, -1): opens the flag's
    // explanation, or closes it when F1 opened it already.
    void helpRequested(int index);
    // Esc in the main window: closes the popup, however it was opened.
    void escapePressed();
    // The keyboard focus moved to another control: closes an explanation opened by F1.
    void focusMoved();

    // Where the popup stands for flag `index`: beside the description column, hanging down
    // from the description or, for the last rows, standing up from it.
    static twips::Rect popupPlace(int index);

private:
    void goClicked();
    void fwoClicked();

    // Sets a box the way a click would: a change runs the flag-box step at once.
    void setTicked(int index, bool ticked);
    // The running total of the ticked boxes, into the value box and onto the clipboard.
    void flagsChanged();
    void selectAllValueText();

    MainView &m_view;
    int m_helpFlag = -1; // the flag whose explanation F1 opened, while it is shown
};

} // namespace form
