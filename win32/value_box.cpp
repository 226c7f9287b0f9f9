#include "win32/value_box.h"

#include "form/main_form_layout.h"
#include "win32/clipboard.h"

#include <imm.h>

#include <optional>
#include <string>

namespace win32 {

namespace {

using form::MainForm;
using Route = MainForm::Route;
using Verdict = MainForm::Verdict;

// UTF-16 as the form reads text: one code point a character.
std::u32string codePoints(std::wstring_view text)
{
    std::u32string points;
    points.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00
            && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        points.push_back(c);
    }
    return points;
}

// The keys that run a clipboard, undo or select-all command without typing a character.
bool isCommandKey(UINT message, WPARAM key)
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

} // namespace

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
        return onTyped(message, wParam, lParam);
    case WM_UNICHAR:
        // One UTF-32 character, sent by programs that type for the user: typed as WM_CHAR, which
        // is what Windows' own edit control understands; Wine's would insert it past the form.
        if (wParam == UNICODE_NOCHAR)
            return TRUE; // yes, this window takes WM_UNICHAR
        onTyped(WM_CHAR, wParam, lParam);
        return FALSE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // What such a key does to the length is not known before it runs: the length now.
        if (isCommandKey(message, wParam)
            && MainForm::admitLength(Route::KeyCommand, lengthAfter(0)) != Verdict::Take)
            return 0;
        break;
    case WM_PASTE:
        return onPaste();
    case WM_SETTEXT:
    case EM_REPLACESEL:
        return onInserted(message, wParam, lParam);
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
    }
    return CallWindowProcW(m_original, m_edit, message, wParam, lParam);
}

void ValueBox::setText(const std::wstring &text)
{
    pass(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Hands a message the form took to the control; whatever the control does with it on the way,
// through messages of its own, passes too.
LRESULT ValueBox::pass(UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool passing = m_passing;
    m_passing = true;
    const LRESULT result = CallWindowProcW(m_original, m_edit, message, wParam, lParam);
    m_passing = passing;
    return result;
}

// Does as the form says with a message that would bring text in: hands it to the control if
// the form takes it, beeps if the form refuses it. A message that does not go in answers 0,
// which is FALSE for WM_SETTEXT.
LRESULT ValueBox::follow(Verdict verdict, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (verdict == Verdict::Take)
        return pass(message, wParam, lParam);
    if (verdict == Verdict::Refuse)
        MessageBeep(MB_OK);
    return 0;
}

// One character, replacing the selection. Backspace, Enter and Ctrl+letters come as control
// characters.
LRESULT ValueBox::onTyped(UINT message, WPARAM wParam, LPARAM lParam)
{
    const char32_t typed = static_cast<char32_t>(wParam);
    return follow(
        MainForm::admit(Route::Typed, { &typed, 1 }, lengthAfter(1)), message, wParam, lParam);
}

// Text set from outside, whole (WM_SETTEXT) or in place of the selection (EM_REPLACESEL). Both
// answer FALSE when it does not go in; EM_REPLACESEL has no answer.
LRESULT ValueBox::onInserted(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_passing)
        return CallWindowProcW(m_original, m_edit, message, wParam, lParam);
    const auto *text = reinterpret_cast<const wchar_t *>(lParam);
    const std::wstring_view inserted = text ? text : L"";
    const std::size_t after
        = message == WM_SETTEXT ? inserted.size() : lengthAfter(inserted.size());
    return follow(
        MainForm::admit(Route::Inserted, codePoints(inserted), after), message, wParam, lParam);
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
    m_presses = message == WM_LBUTTONDBLCLK ? 2 : 1;
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
    if (pressedHere && PtInRect(&box, at) && MainForm::isClick(m_presses) && m_clicked)
        m_clicked();
    return result;
}

// The context menu's Paste goes in whole or not at all. The clipboard's whole text is counted,
// line breaks and all, before any of it is read: a refusal is safer than a cut, which could
// change the value.
LRESULT ValueBox::onPaste()
{
    const std::optional<std::size_t> length = Clipboard::textLength(m_edit);
    if (!length)
        return 0;
    const std::size_t after = lengthAfter(*length);
    Verdict verdict = MainForm::admitLength(Route::MenuPaste, after);
    if (verdict == Verdict::Take) {
        const std::optional<std::wstring> text = Clipboard::text(m_edit);
        if (!text)
            return 0;
        verdict = MainForm::admit(Route::MenuPaste, codePoints(*text), after);
    }
    return follow(verdict, WM_PASTE, 0, 0);
}

// How many characters the box holds once `inserted` ones have replaced the selection.
std::size_t ValueBox::lengthAfter(std::size_t inserted) const
{
    DWORD start = 0, end = 0;
    SendMessageW(
        m_edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const auto length = static_cast<std::size_t>(GetWindowTextLengthW(m_edit));
    return length - (end - start) + inserted;
}

} // namespace win32
