#pragma once

// What the program's two top-level windows share: the window class, registered once with the
// program icon; the frame, sized for the client area of the twips table at the window's dpi, at
// creation and again when the window moves to a screen of another dpi; the focus, given back to
// the control that had it when the window is activated again; and the count of open windows,
// of which the last one out ends the message loop with exit code 0.
//
// A window passes itself as the creation parameter; from then on it gets every message through
// its onMessage(), and hands what it does not handle on to TopLevelWindow::onMessage().

#include <windows.h>

#include <string_view>

namespace win32 {

class TopLevelWindow
{
public:
    TopLevelWindow(const TopLevelWindow &) = delete;
    TopLevelWindow &operator=(const TopLevelWindow &) = delete;

protected:
    struct Frame
    {
        const wchar_t *className;
        DWORD style, exStyle;
        int clientWidth, clientHeight; // twips
    };

    TopLevelWindow(HINSTANCE instance, const Frame &frame);
    virtual ~TopLevelWindow() = default;

    // Registers the class if need be and creates the window, hidden, with `menu` (which it
    // then owns), its frame sized for the client area at its dpi.
    bool createWindow(std::string_view caption, HMENU menu = nullptr);
    // A visible child control, placed later.
    HWND createControl(
        const wchar_t *className, const wchar_t *text, DWORD style, int id, DWORD exStyle = 0);
    // Gives `control` the focus, now and on each activation until it moves elsewhere.
    void giveFocus(HWND control);

    virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Places every control at a dpi, in the fonts of that dpi.
    virtual void placeControls(int dpi) = 0;
    // The colours of a static control's text and background (WM_CTLCOLORSTATIC).
    virtual LRESULT onCtlColorStatic(HDC dc, HWND control) = 0;
    // The window is gone; the object may delete itself.
    virtual void onDestroyed() { }

    int dpi() const { return static_cast<int>(GetDpiForWindow(m_window)); }

    HINSTANCE m_instance;
    HWND m_window = nullptr;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    SIZE frameSize(int dpi) const;
    void onActivate(bool active);

    Frame m_frame;
    HWND m_focus = nullptr; // the control to give the focus back to on activation
};

} // namespace win32
