#pragma once

// The main window's behaviour, free of any toolkit: the load step, the value box's reset and
// filter, GO, the running total, the end of the program and the detail popup.
//
// MainForm keeps almost no state of its own: everything lives in the controls, which it reads
// and sets through a MainView; it only remembers whether the popup was opened from the
// keyboard, which decides whether moving the focus closes it, and the total an action has yet
// to copy. It also decides, for every front end, what text may enter the value box (Route). A front
// end builds the controls from main_form_layout.h, forwards each of the user's actions to the
// handler of the same name and shows what the form sets. When the form itself ticks or unticks a
// box (GO, the reset), it runs the flag-box step at once, nested inside its loop, whatever the
// toolkit does on a change made by code.

#include "form/control_table.h"
#include "form/main_view.h"
#include "form/twips.h"

#include <cstddef>
#include <string>
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

    // Whether the `count`th press of a quick series on a control is a click: 1 for a single
    // press, 2 for the second of a double click, 0 for a click from the keyboard or a screen
    // reader. The second press of a double click is no click, as on the desktop.
    static constexpr bool isClick(int count) { return count == 0 || count % 2 == 1; }

    // How text would reach the value box. The front end tells the route and the text, and puts
    // the text in only if the answer is Take: whole, never cut short (a cut could change the
    // value). The user changed the box's text by typing or deleting: valueEdited().
    enum class Route {
        Typed,      // a key's character; Backspace, Enter and Ctrl+letter give control characters
        KeyCommand, // a key that copies, cuts, pastes, undoes or selects all without a character
                    // (Shift+Insert, Ctrl+Insert, Shift+Delete)
        MenuPaste,  // Paste chosen from a context menu: the one way in for other characters
        Inserted,   // a middle-click paste, a drop, an input method's commit, a screen reader
    };
    enum class Verdict {
        Take,
        Drop,   // ignored without a word
        Refuse, // the box would hold more than it takes: the user is told (a beep, a notice)
    };
    // A text that would leave `lengthAfter` characters in the box. admitLength() looks at the
    // length alone, before a long text is read or converted; admit() decides on the whole.
    static Verdict admitLength(Route route, std::size_t lengthAfter);
    static Verdict admit(Route route, std::u32string_view text, std::size_t lengthAfter);
    void valueEdited();

    // A command button was clicked or a menu entry chosen: the command its table row carries.
    // Ids a front end gets back from its controls go through form::isCommand() first.
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
    // The running total of the ticked boxes into the value box; the clipboard gets it once the
    // user's action is done (copyTotal()).
    void flagsChanged();
    // One write per user action, the last total: GO's twenty ticks put one total there.
    void copyTotal();
    void selectAllValueText();

    MainView &m_view;
    int m_helpFlag = -1; // the flag whose explanation F1 opened, while it is shown
    std::string m_total; // waiting for the clipboard until the action is done, or empty
};

} // namespace form
