#pragma once

// The About window, frmAbout: modeless, created at each opening and destroyed on closing, at
// most one at a time. Its controls come from the twips table of form/about_form_layout.h:
// the picture and the program icon in focusable picture boxes, the description, and OK, which
// is both the default and the cancel button (Enter and Esc close the window). The picture and
// the icon come from the program's resources.

#include "win32/raii.h"
#include "win32/top_level_window.h"

#include <windows.h>

namespace win32 {

class AboutWindow : private TopLevelWindow
{
public:
    // Opens the window over `over` (or the screen's centre), or brings the open one to the
    // front.
    static void open(HINSTANCE instance, HWND over);
    // Closes the window if it is open.
    static void close();

private:
    explicit AboutWindow(HINSTANCE instance);
    bool create(HWND over);
    void centreOver(HWND over);

    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT onCtlColorStatic(HDC dc, HWND control) override;
    void onDestroyed() override;

    void createControls();
    void placeControls(int dpi) override;

    HWND m_description = nullptr;
    HWND m_ok = nullptr;
    Font m_font;
    Bitmap m_picture;
    Icon m_icon;
};

} // namespace win32
