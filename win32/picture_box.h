#pragma once

// A picture box of the About window: a sunken 3-D border two pixels wide (the client edge)
// around a bitmap or an icon, drawn at the top-left corner of the inner area and clipped to
// it. Unlike a static control it takes the focus by Tab, so that a screen reader reaches it,
// and shows the focus with a dotted rectangle. A click does not take the focus, as in the Qt
// program. The window text is its accessible name.

#include <windows.h>

namespace win32 {

class PictureBox
{
public:
    // Registers the window class once per process.
    static void registerClass(HINSTANCE instance);

    // Creates a box showing `bitmap` (at its own size, scaled with the dpi) or `icon`; neither
    // is owned and both must outlive the box.
    static HWND create(HWND parent, int id, const wchar_t *name, HBITMAP bitmap, HICON icon);
};

} // namespace win32
