#pragma once

// What the standard accessible objects of the main window's controls leave out, told to
// screen readers without an IAccessible of our own: each flag box's description, by dynamic
// annotation (IAccPropServices, from oleacc through COM); the explanation, announced as an
// alert each time it opens or changes (NotifyWinEvent); and what the window says without
// showing it (the running total, GO's result), the text of an unseen live region.
//
// Most people run no screen reader, so none of this may cost them start-up time: the window
// records what to tell, and COM is loaded and the annotations set only when an assistive
// program first asks the window or a flag box for its accessible object (WM_GETOBJECT), or
// listens for the alert. Where the annotation service is missing or refuses (Wine's answers
// E_NOTIMPL), the controls keep their plain names and roles.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace win32 {

class Accessibility
{
public:
    Accessibility() = default;
    ~Accessibility();
    Accessibility(const Accessibility &) = delete;
    Accessibility &operator=(const Accessibility &) = delete;

    // Remembers a control's accessible description.
    void describe(HWND control, std::wstring text);
    // Remembers the explanation, which screen readers are to read as an alert.
    void setAlert(HWND popup) { m_alert = popup; }
    // Sets what was remembered, on the first call; an assistive program is asking.
    void annotate();
    // Tells listening screen readers that the explanation opened or changed.
    void announce();
    // Remembers the unseen control whose text screen readers are to hear, politely, each time
    // it changes.
    void setLiveRegion(HWND region) { m_liveRegion = region; }
    // Tells listening screen readers that the live region has new text.
    void speak();

private:
    std::vector<std::pair<HWND, std::wstring>> m_descriptions;
    HWND m_alert = nullptr;
    HWND m_liveRegion = nullptr;
    bool m_annotated = false;
    bool m_comStarted = false;
};

} // namespace win32
