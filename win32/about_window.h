#pragma once

// The About window, frmAbout: modeless, created at each opening and destroyed on closing, at
// most one at a time. Its controls come from the twips table of form/about_form_layout.h:
// the picture and the program icon in focusable picture boxes, the description, and OK, which
// is both the default and the cancel button (Enter and Esc close the window). The picture and
// the icon come from the program's resources.

#include "win32/raii.h"

#include <windows.h>

namespace win32 {

class AboutWindow
{
public:
    // Opens the window over `over` (or the screen's centre), or brings the open one to the
    // front.
    static void open(HINSTANCE instance, HWND over);
    // Closes the window if it is open.
    static void close();
    static HWND handle();

    AboutWindow(const AboutWindow &) = delete;
    AboutWindow &operator=(const AboutWindow &) = delete;

private:
    explicit AboutWindow(HINSTANCE instance);
    ~AboutWindow() = default;
    bool create(HWND over);

    template <typename Owner> friend LRESULT CALLBACK ownerProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(int id);
    LRESULT onCtlColorStatic(HDC dc, HWND control);
    void onActivate(bool active);
    void onDpiChanged(int dpi, const RECT &suggested);
    void onNcDestroy();

    void createControls();
    void placeControls(int dpi);
    static DWORD style();
    static DWORD exStyle();

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    HWND m_description = nullptr;
    HWND m_ok = nullptr;
    HWND m_focus = nullptr; // the control to give the focus back to on activation
    Font m_font;
    Bitmap m_picture;
    Icon m_icon;
};

} // namespace win32
