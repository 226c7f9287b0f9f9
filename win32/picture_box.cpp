#include "win32/picture_box.h"

#include "form/about_form_layout.h"
#include "win32/raii.h"

#include <memory>

namespace win32 {

namespace {

constexpr wchar_t ClassName[] = L"OrvanPictureBox";

// What a box shows, kept with the window.
struct Content
{
    HBITMAP bitmap;
    HICON icon;
};

void paint(HWND box)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    const auto *content = reinterpret_cast<const Content *>(GetWindowLongPtrW(box, GWLP_USERDATA));
    const int dpi = static_cast<int>(GetDpiForWindow(box));
    RECT inner;
    GetClientRect(box, &inner);
    // The client area is the inner area: whatever lies beyond it is clipped.
    if (content && content->bitmap) {
        BITMAP info {};
        GetObjectW(content->bitmap, sizeof info, &info);
        HDC source = CreateCompatibleDC(dc);
        {
            SelectedObject picture(source, content->bitmap);
            const int width = MulDiv(info.bmWidth, dpi, twips::DesignDpi);
            const int height = MulDiv(info.bmHeight, dpi, twips::DesignDpi);
            if (width == info.bmWidth) {
                BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
            } else {
                SetStretchBltMode(dc, HALFTONE);
                StretchBlt(
                    dc, 0, 0, width, height, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
            }
        }
        DeleteDC(source);
    } else if (content && content->icon) {
        const int size = MulDiv(about_layout::IconSize, dpi, twips::DesignDpi);
        DrawIconEx(dc, 0, 0, content->icon, size, size, 0, nullptr, DI_NORMAL);
    }
    if (GetFocus() == box && !(SendMessageW(box, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
        DrawFocusRect(dc, &inner);
    EndPaint(box, &ps);
}

LRESULT CALLBACK boxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE: {
        // Only a window that comes into being takes the content over.
        if (!DefWindowProcW(box, message, wParam, lParam))
            return FALSE;
        const auto *create = reinterpret_cast<const CREATESTRUCTW *>(lParam);
        SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return TRUE;
    }
    case WM_NCDESTROY:
        delete reinterpret_cast<Content *>(GetWindowLongPtrW(box, GWLP_USERDATA));
        SetWindowLongPtrW(box, GWLP_USERDATA, 0);
        break;
    case WM_PAINT:
        paint(box);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(box, nullptr, TRUE);
        return 0;
    }
    return DefWindowProcW(box, message, wParam, lParam);
}

} // namespace

void PictureBox::registerClass(HINSTANCE instance)
{
    WNDCLASSEXW wc {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &boxProcedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = ClassName;
    RegisterClassExW(&wc);
}

HWND PictureBox::create(HWND parent, int id, const wchar_t *name, HBITMAP bitmap, HICON icon)
{
    // The window owns its content from WM_NCCREATE on, and frees it in WM_NCDESTROY.
    auto content = std::make_unique<Content>(Content { bitmap, icon });
    HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, ClassName, name,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), content.get());
    if (box)
        content.release();
    return box;
}

} // namespace win32
