#pragma once

// The main window, Form1, in plain Windows API: the value box, GO, Cancel, the twenty flag
// rows, the detail popup and the menu bar.
//
// The window is a view of the toolkit-free form (form/main_form.h), which holds the behaviour,
// as the Qt window is: its controls come from the twips table of form/main_form_layout.h,
// placed in pixels at the window's dpi; the window procedure hands each message to a small
// On... member, which forwards the user's action to the form; the MainView members show what
// the form sets. All state lives in the controls. Check boxes report only the user's own
// clicks (BN_CLICKED): BM_SETCHECK from the form sends no notification, and the text the form
// puts into the value box is not reported as typing (EN_CHANGE). F1 (WM_HELP), Esc and the
// focus moving between controls go to the form's handlers for the popup.
//
// The window acts as a dialog (WS_EX_CONTROLPARENT, IsDialogMessage in the message loop): Tab
// walks value box, GO, boxes 1 to 524288, Cancel; Enter presses nothing, Esc only closes the popup.

#include "flags/flag_model.h"
#include "form/main_form.h"
#include "form/main_form_layout.h"
#include "form/main_view.h"
#include "win32/about_window.h"
#include "win32/accessibility.h"
#include "win32/clipboard.h"
#include "win32/raii.h"
#include "win32/top_level_window.h"
#include "win32/value_box.h"

#include <windows.h>

#include <array>

namespace win32 {

class MainWindow : private TopLevelWindow, private form::MainView
{
public:
    explicit MainWindow(HINSTANCE instance);

    // Creates the window with its menus and controls, runs the form's load step and shows it.
    bool create(int show);

private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onCommand(int id, int code, HWND control);
    void onControlFocused(HWND control);
    void onHelp(const HELPINFO &help);
    LRESULT onCtlColorStatic(HDC dc, HWND control) override;
    int pressCount();
    void settleClipboard();

    static HMENU createMenus();
    void createControls();
    void createControlFor(const layout::Slot &slot);
    void placeControls(int dpi) override;

    // form::MainView
    bool isTicked(int index) const override;
    void setTicked(int index, bool ticked) override;
    std::string valueText() const override;
    void setValueText(std::string_view text) override;
    void selectValueText(int start, int length) override;
    void focusValueBox() override { SetFocus(m_value.handle()); }
    void setGoEnabled(bool enabled) override;
    void setClipboardText(std::string_view text) override { m_clipboard.put(text); }
    void showMessage(std::string_view title, std::string_view text) override;
    void announce(std::string_view text) override;
    void showPopup(std::string_view text, const twips::Rect &place, int flag) override;
    void hidePopup() override { ShowWindow(m_popup, SW_HIDE); }
    void openAbout() override { AboutWindow::open(m_instance, m_window); }
    void endProgram() override;

    form::MainForm m_form { *this };
    Font m_font;      // the window font, 8.25 points
    Font m_valueFont; // the value box's, 9.75 points
    ValueBox m_value;
    Clipboard m_clipboard;
    std::array<HWND, layout::ControlCount> m_controls {}; // by row of the table
    Accessibility m_accessibility;
    HWND m_popup = nullptr;
    HWND m_liveRegion = nullptr; // what screen readers are told without its being shown
    twips::Rect m_popupPlace {};
    std::array<HWND, flags::FlagCount> m_flags {};
    std::array<HWND, flags::FlagCount> m_descriptions {};
    HWND m_focused = nullptr; // the control that last reported taking the focus
    bool m_settingValue = false;
    bool m_ending = false; // waiting for the clipboard before the window goes
    struct Press
    {
        int count; // in its quick series; 0 before the first
        LONG time;
        POINT at;
    };
    Press m_lastPress {}; // the last press on a description or the popup
};

} // namespace win32
