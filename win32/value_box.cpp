#include "win32/value_box.h"

#include "flags/flag_model.h"
#include "form/main_form.h"

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
        // Backspace, Ctrl+V and the other control characters too: typing brings digits only.
        if (!flags::acceptsCharacter(static_cast<char32_t>(wParam)))
            return 0;
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (isCommandKey(message, wParam))
            return 0;
        break;
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

LRESULT ValueBox::onLButtonUp(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallWindowProcW(m_original, m_edit, WM_LBUTTONUP, wParam, lParam);
    RECT client;
    GetClientRect(m_edit, &client);
    const POINT at { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
    if (PtInRect(&client, at) && m_clicked)
        m_clicked();
    return result;
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
