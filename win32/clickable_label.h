#pragma once

// A STATIC control with SS_NOTIFY that reports a click as a click: a left-button press and
// release on the label, with STN_CLICKED to its parent on the release. The control itself
// reports the press, so a press dragged away before the release would count. The label holds
// the mouse from the press on; a release outside it, or a press that lost the mouse to another
// window, is no click. The second press of a double-click counts as a press, and its release
// is reported too: the parent counts the presses of a quick series by time and place, as it
// must when they fall on two controls, and the form says which count is a click. An
// assistive program clicks it by its accessible object's default action (LabelAccessible).

#include <windows.h>

namespace win32 {

class ClickableLabel
{
public:
    // Takes over a static control; it stays so until it is destroyed. Its accessible object
    // has a default action named `action` (a string that outlives the label) that clicks it.
    static void attach(HWND label, const wchar_t *action);
};

} // namespace win32
