#pragma once

// The main window's behaviour, free of any toolkit: the load step, the value box's reset and
// filter, GO, the running total, the end of the program and the detail popup.
//
// MainForm holds no state of its own: everything lives in the controls, which it reads and
// sets through a MainView. A front end builds the controls from main_form_layout.h, forwards
// each of the user's actions to the handler of the same name and shows what the form sets.
// When the form itself ticks or unticks a box (GO, the reset), it runs the flag-box step at
// once, nested inside its loop, whatever the toolkit does on a change made by code.

#include "form/main_view.h"
#include "form/twips.h"

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
    // The value box takes these characters by typing, and no others.
    static bool acceptsCharacter(char32_t code);
    void goClicked();
    // The user ticked or unticked box `index`; the view already shows the new state.
    void flagClicked(int index);
    void cancelClicked();
    void exitClicked();

    void descriptionClicked(int index);
    void popupClicked();
    void fwoClicked();
    void aboutClicked();

    // Where the popup stands for flag `index`: beside the description column, hanging down
    // from the description or, for the last rows, standing up from it.
    static twips::Rect popupPlace(int index);

private:
    // Sets a box the way a click would: a change runs the flag-box step at once.
    void setTicked(int index, bool ticked);
    // The running total of the ticked boxes, into the value box and onto the clipboard.
    void flagsChanged();
    void selectAllValueText();

    MainView &m_view;
};

} // namespace form
