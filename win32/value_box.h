#pragma once

// The value box, Text1: a standard EDIT control, subclassed so that digits come in by typing
// only and a click reports itself.
//
// Characters pass the digit filter on every route that types them (WM_CHAR, WM_IME_CHAR and
// WM_UNICHAR), and the box has no input method, whose commits would bypass the filter. The
// keyboard's clipboard and undo commands are dropped: Ctrl+V, C, X and Z arrive as control
// characters, which the filter drops, but Shift+Insert, Ctrl+Insert, Shift+Delete and
// Alt+Backspace come as keys and are stopped here, as is the middle button, which pastes in
// Wine. The context menu's Paste still works, as it does in the Qt program, but only whole: a
// paste or a digit that would make the text longer than the box holds is refused with a beep.
//
// A click is a left-button press and release on the box, its sunken border included: `clicked`
// is called on the release, after the box has placed the caret. A press that starts elsewhere
// and ends over the box is no click.

#include <windows.h>

#include <cstddef>
#include <functional>

namespace win32 {

class ValueBox
{
public:
    ValueBox() = default;
    ~ValueBox();
    ValueBox(const ValueBox &) = delete;
    ValueBox &operator=(const ValueBox &) = delete;

    // Takes over an edit control; call once.
    void attach(HWND edit, std::function<void()> clicked);
    HWND handle() const { return m_edit; }

private:
    static LRESULT CALLBACK procedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onChar(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onUniChar(WPARAM wParam, LPARAM lParam);
    LRESULT onNcHitTest(LPARAM lParam);
    LRESULT onLButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT onPaste();
    bool takes(std::size_t inserted) const;
    static bool isCommandKey(UINT message, WPARAM key);

    HWND m_edit = nullptr;
    WNDPROC m_original = nullptr;
    std::function<void()> m_clicked;
};

} // namespace win32
