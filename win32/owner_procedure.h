#pragma once

// The window procedure of the program's two top-level windows. The object that creates a window
// passes itself as the creation parameter; it is kept with the window, learns its handle, and
// from then on gets every message through its onMessage(). Each window counts itself in as it
// is created (WindowCount), and out again when it is destroyed.

#include "win32/window_count.h"

#include <windows.h>

namespace win32 {

template <typename Owner>
LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *owner
            = static_cast<Owner *>(reinterpret_cast<const CREATESTRUCTW *>(lParam)->lpCreateParams);
        owner->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        WindowCount::opened();
    }
    auto *owner = reinterpret_cast<Owner *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!owner)
        return DefWindowProcW(window, message, wParam, lParam);
    return owner->onMessage(message, wParam, lParam);
}

} // namespace win32
