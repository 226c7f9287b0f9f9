#pragma once

// The value box, Text1: a standard EDIT control, subclassed so that digits come in by typing
// only and a click reports itself.
//
// Characters pass the form's filter (WM_CHAR and WM_IME_CHAR alike), and the box has no input
// method, whose commits would bypass the filter. The keyboard's clipboard
// and undo commands are dropped: Ctrl+V, C, X and Z arrive as control characters, which the
// filter drops, but Shift+Insert, Ctrl+Insert, Shift+Delete and Alt+Backspace come as keys and
// are stopped here, as is the middle button, which pastes in Wine. The context menu's Paste
// still works, as it does in the Qt program. A left
// button released over the box, after the box has placed the caret, calls `clicked`.

#include <windows.h>

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
    LRESULT onLButtonUp(WPARAM wParam, LPARAM lParam);
    static bool isCommandKey(UINT message, WPARAM key);

    HWND m_edit = nullptr;
    WNDPROC m_original = nullptr;
    std::function<void()> m_clicked;
};

} // namespace win32
