#include "win32/top_level_window.h"

#include "form/twips.h"
#include "win32/resource_ids.h"
#include "win32/wide_text.h"

namespace win32 {

namespace {

int s_openWindows = 0;

HICON programIcon(HINSTANCE instance, int widthMetric, int heightMetric)
{
    return static_cast<HICON>(LoadImageW(instance, ORVAN_PROGRAM_ICON, IMAGE_ICON,
        GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), LR_SHARED));
}

} // namespace

TopLevelWindow::TopLevelWindow(HINSTANCE instance, const Frame &frame)
    : m_instance(instance)
    , m_frame(frame)
{ }

bool TopLevelWindow::createWindow(std::string_view caption, HMENU menu)
{
    WNDCLASSEXW wc {};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(m_instance, m_frame.className, &wc)) {
        wc.lpfnWndProc = &procedure;
        wc.hInstance = m_instance;
        // Wherever Windows shows a window's icon (frame, taskbar, task switcher): the program's.
        wc.hIcon = programIcon(m_instance, SM_CXICON, SM_CYICON);
        wc.hIconSm = programIcon(m_instance, SM_CXSMICON, SM_CYSMICON);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = m_frame.className;
        if (!RegisterClassExW(&wc))
            return false;
    }
    if (!CreateWindowExW(m_frame.exStyle, m_frame.className, widen(caption).c_str(), m_frame.style,
            CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, menu, m_instance, this)) {
        if (menu)
            DestroyMenu(menu);
        return false;
    }
    const SIZE size = frameSize(dpi());
    SetWindowPos(
        m_window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

SIZE TopLevelWindow::frameSize(int dpi) const
{
    RECT frame { 0, 0, twips::px(m_frame.clientWidth, dpi), twips::px(m_frame.clientHeight, dpi) };
    AdjustWindowRectExForDpi(&frame, m_frame.style, GetMenu(m_window) != nullptr, m_frame.exStyle,
        static_cast<UINT>(dpi));
    return { frame.right - frame.left, frame.bottom - frame.top };
}

HWND TopLevelWindow::createControl(
    const wchar_t *className, const wchar_t *text, DWORD style, int id, DWORD exStyle)
{
    // Overlapping siblings (the popup over the labels) must not paint over one another.
    return CreateWindowExW(exStyle, className, text,
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, m_window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), m_instance, nullptr);
}

void TopLevelWindow::giveFocus(HWND control)
{
    m_focus = control;
    SetFocus(control);
}

LRESULT TopLevelWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        onActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_CTLCOLORSTATIC:
        return onCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DPICHANGED: {
        const int dpi = HIWORD(wParam);
        const RECT &suggested = *reinterpret_cast<const RECT *>(lParam);
        const SIZE size = frameSize(dpi);
        SetWindowPos(m_window, nullptr, suggested.left, suggested.top, size.cx, size.cy,
            SWP_NOZORDER | SWP_NOACTIVATE);
        placeControls(dpi);
        InvalidateRect(m_window, nullptr, TRUE);
        return 0;
    }
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

// A plain window gives the focus to itself on activation; the control that had it gets it back.
void TopLevelWindow::onActivate(bool active)
{
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(m_window, focus))
            m_focus = focus;
    } else if (m_focus) {
        SetFocus(m_focus);
    }
}

LRESULT CALLBACK TopLevelWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<TopLevelWindow *>(
            reinterpret_cast<const CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        ++s_openWindows;
    }
    auto *self = reinterpret_cast<TopLevelWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = self->onMessage(message, wParam, lParam);
    if (message != WM_NCDESTROY)
        return result;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->m_window = nullptr;
    self->onDestroyed();
    if (--s_openWindows == 0)
        PostQuitMessage(0);
    return result;
}

} // namespace win32
