#include "win32/value_box.h"

#include "flags/flag_model.h"
#include "form/main_form.h"
#include "form/main_form_layout.h"
#include "win32/clipboard.h"
#include "win32/raii.h"

#include <imm.h>

namespace win32 {

ValueBox::~ValueBox()
{
    // Should the control outlive this object, it must not call back into it.
    if (m_edit && IsWindow(m_edit)) {
        SetWindowLongPtrW(m_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_original));
        SetWindowLongPtrW(m_edit, GWLP_USERDATA, 0);
    }
}

void ValueBox::attach(HWND edit, std::function<void()> clicked)
{
    m_edit = edit;
    m_clicked = std::move(clicked);
    SetWindowLongPtrW(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // An input method's commit goes into an edit control without a WM_CHAR for the filter to
    // see: like the Qt box, this one has no input method.
    ImmAssociateContext(edit, nullptr);
    // The control's own limit backs up the checks below on any route they miss; it cuts an
    // insertion short, which they never let happen.
    SendMessageW(edit, EM_SETLIMITTEXT, layout::ValueBoxLimit, 0);
    m_original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ValueBox::procedure)));
}

LRESULT CALLBACK ValueBox::procedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *box = reinterpret_cast<ValueBox *>(GetWindowLongPtrW(edit, GWLP_USERDATA));
    return box->onMessage(message, wParam, lParam);
}

LRESULT ValueBox::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:
        return onChar(message, wParam, lParam);
    case WM_UNICHAR:
        return onUniChar(wParam, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (isCommandKey(message, wParam))
            return 0;
        break;
    case WM_PASTE:
        return onPaste();
    case WM_NCHITTEST:
        return onNcHitTest(lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return onLButtonDown(message, wParam, lParam);
    case WM_LBUTTONUP:
        return onLButtonUp(wParam, lParam);
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        // Wine's edit control pastes on the middle button, as X11 programs do.
        return 0;
    default:
        break;
    }
    return CallWindowProcW(m_original, m_edit, message, wParam, lParam);
}

// Backspace, Ctrl+V and the other control characters too: typing brings digits only, and only
// while the box has room for them.
LRESULT ValueBox::onChar(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!flags::acceptsCharacter(static_cast<char32_t>(wParam)))
        return 0;
    if (!takes(1)) {
        MessageBeep(MB_OK);
        return 0;
    }
    return CallWindowProcW(m_original, m_edit, message, wParam, lParam);
}

// One UTF-32 character, sent by programs that type for the user. Windows' own edit control
// does not know the message and Wine's inserts whatever comes: what passes the filter is typed
// as WM_CHAR, the rest is dropped.
LRESULT ValueBox::onUniChar(WPARAM wParam, LPARAM lParam)
{
    if (wParam == UNICODE_NOCHAR)
        return TRUE; // yes, this window takes WM_UNICHAR
    if (flags::acceptsCharacter(static_cast<char32_t>(wParam)))
        onChar(WM_CHAR, wParam, lParam);
    return FALSE;
}

// The whole box is the box: its sunken border takes a click as its inside does.
LRESULT ValueBox::onNcHitTest(LPARAM lParam)
{
    const LRESULT hit = CallWindowProcW(m_original, m_edit, WM_NCHITTEST, 0, lParam);
    RECT box;
    GetWindowRect(m_edit, &box);
    const POINT at { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
    return hit != HTCLIENT && PtInRect(&box, at) ? HTCLIENT : hit;
}

// The box holds the mouse from the press to the release, so that the release tells whether
// the press was on the box. The edit control captures it on a press; on the second press of a
// double-click Wine's does not.
LRESULT ValueBox::onLButtonDown(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallWindowProcW(m_original, m_edit, message, wParam, lParam);
    if (GetCapture() != m_edit)
        SetCapture(m_edit);
    return result;
}

LRESULT ValueBox::onLButtonUp(WPARAM wParam, LPARAM lParam)
{
    // Without the capture the press was elsewhere, or something took the mouse since.
    const bool pressedHere = GetCapture() == m_edit;
    const LRESULT result = CallWindowProcW(m_original, m_edit, WM_LBUTTONUP, wParam, lParam);
    if (GetCapture() == m_edit)
        ReleaseCapture();
    POINT at { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
    ClientToScreen(m_edit, &at);
    RECT box;
    GetWindowRect(m_edit, &box);
    if (pressedHere && PtInRect(&box, at) && m_clicked)
        m_clicked();
    return result;
}

// The context menu's Paste goes in whole or not at all. The clipboard's whole text is counted,
// line breaks and all: a refusal is safer than a cut, which could change the value.
LRESULT ValueBox::onPaste()
{
    const std::optional<std::size_t> length = Clipboard::textLength(m_edit);
    if (!length)
        return 0;
    if (!takes(*length)) {
        MessageBeep(MB_OK);
        return 0;
    }
    return CallWindowProcW(m_original, m_edit, WM_PASTE, 0, 0);
}

// Whether `inserted` characters in place of the selection leave the text within the limit.
bool ValueBox::takes(std::size_t inserted) const
{
    DWORD start = 0, end = 0;
    SendMessageW(
        m_edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const auto length = static_cast<std::size_t>(GetWindowTextLengthW(m_edit));
    return form::MainForm::acceptsPaste(length - (end - start) + inserted);
}

// The keys that run a clipboard, undo or select-all command without typing a character.
bool ValueBox::isCommandKey(UINT message, WPARAM key)
{
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (message == WM_SYSKEYDOWN)
        return key == VK_BACK; // Alt+Backspace undoes
    switch (key) {
    case VK_INSERT: // Shift pastes, Ctrl copies
        return shift || control;
    case VK_DELETE: // Shift cuts
        return shift;
    case 'A':
        return control;
    default:
        return false;
    }
}

} // namespace win32
