#pragma once

// Owners of the Windows resources the front end creates: fonts and bitmaps, icons, libraries
// and device contexts. Each releases its resource on every way out of a scope.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace win32 {

// A handle that `release` lets go of.
template <auto release> struct Releaser
{
    template <typename Handle> void operator()(Handle handle) const { release(handle); }
};
template <typename Handle, auto release>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, Releaser<release>>;
using Font = Owned<HFONT, DeleteObject>;
using Bitmap = Owned<HBITMAP, DeleteObject>;
using Icon = Owned<HICON, DestroyIcon>;

// A window's device context, for measuring text.
class WindowDc
{
public:
    explicit WindowDc(HWND window)
        : m_window(window)
        , m_dc(GetDC(window))
    { }
    ~WindowDc() { ReleaseDC(m_window, m_dc); }
    WindowDc(const WindowDc &) = delete;
    WindowDc &operator=(const WindowDc &) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// Selects an object into a device context and puts the previous one back.
class SelectedObject
{
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : m_dc(dc)
        , m_previous(SelectObject(dc, object))
    { }
    ~SelectedObject() { SelectObject(m_dc, m_previous); }
    SelectedObject(const SelectedObject &) = delete;
    SelectedObject &operator=(const SelectedObject &) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

} // namespace win32
