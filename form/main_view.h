#pragma once

#include "form/twips.h"

#include <string>
#include <string_view>

namespace form {

// What the main window's form asks of a front end: the controls' state and the few things only
// the platform can do. Texts are plain 7-bit; places are in twips on the client area.
//
// A front end reports only the user's own actions to the form. Whatever the form sets here
// (a box, the value box's text) must not come back as an event: the form runs the steps that
// follow a change itself.
class MainView
{
public:
    virtual ~MainView() = default;

    static constexpr int NoFlag = -1;

    virtual bool isTicked(int index) const = 0;
    virtual void setTicked(int index, bool ticked) = 0;

    virtual std::string valueText() const = 0;
    virtual void setValueText(std::string_view text) = 0;
    virtual void selectValueText(int start, int length) = 0;
    virtual void focusValueBox() = 0;

    virtual void setGoEnabled(bool enabled) = 0;

    // Plain text on the system clipboard: the last total, once per user action, when the
    // action's work is done (and before a message box opens). The view writes it at once.
    virtual void setClipboardText(std::string_view text) = 0;

    // A modal message box with OK only and no icon; returns once it is closed.
    virtual void showMessage(std::string_view title, std::string_view text) = 0;

    // Says the text to screen readers, politely (after what they are saying), without showing
    // it: the running total after a box changes, GO's result.
    virtual void announce(std::string_view text) = 0;

    // Shows the detail popup, refilled and moved, above every label; it keeps the place given
    // and wraps the text within it.
    // `flag` is the flag it explains, or NoFlag for the [FWO] note.
    virtual void showPopup(std::string_view text, const twips::Rect &place, int flag) = 0;
    virtual void hidePopup() = 0;

    virtual void openAbout() = 0;

    // Ends the program at once, closing every window of it.
    virtual void endProgram() = 0;
};

} // namespace form
