#pragma once

// The value box, Text1: a standard EDIT control, subclassed so that every way text comes in
// is put to the form (MainForm::admit) and a click reports itself.
//
// The box only translates: each message that would bring text in is named by its route and
// handed to the form with the text and the length it would leave, and goes on to the control
// only if the form takes it; a refusal beeps. Typed characters (WM_CHAR, WM_IME_CHAR and
// WM_UNICHAR, one at a time) are Typed; Shift+Insert, Ctrl+Insert, Shift+Delete, Ctrl+A and
// Alt+Backspace, which run a command without a character, are KeyCommand; WM_PASTE, which the
// context menu's Paste sends, is MenuPaste, its length asked first, before the clipboard's text
// is read; text set from outside the program (WM_SETTEXT, EM_REPLACESEL: a screen reader's or a
// voice program's) is Inserted. The box has no input method, whose commits would come in
// without a message of their own, and the middle button, which pastes in Wine, does nothing.
//
// A click is a left-button press and release on the box, its sunken border included: `clicked`
// is called on the release, after the box has placed the caret, when the form counts the press
// as a click (MainForm::isClick: the second press of a double-click is none). A press that
// starts elsewhere and ends over the box is no click.

#include "form/main_form.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string_view>

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
    // The program's own text, which needs no admission.
    void setText(const std::wstring &text);

private:
    static LRESULT CALLBACK procedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onTyped(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onInserted(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onNcHitTest(LPARAM lParam);
    LRESULT onLButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT onPaste();
    LRESULT pass(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT follow(form::MainForm::Verdict verdict, UINT message, WPARAM wParam, LPARAM lParam);
    std::size_t lengthAfter(std::size_t inserted) const;

    HWND m_edit = nullptr;
    WNDPROC m_original = nullptr;
    std::function<void()> m_clicked;
    bool m_passing = false; // a message the form took is in the control: its own steps pass
    int m_presses = 0;      // 1 for a press, 2 for the second of a double-click
};

} // namespace win32
