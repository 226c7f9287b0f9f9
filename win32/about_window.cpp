#include "win32/about_window.h"

#include "form/about_form_layout.h"
#include "win32/legible_text.h"
#include "win32/owner_procedure.h"
#include "win32/picture_box.h"
#include "win32/png_picture.h"
#include "win32/resource_ids.h"
#include "win32/wide_text.h"
#include "win32/window_count.h"
#include "win32/window_font.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

using namespace about_layout;

namespace win32 {

namespace {

constexpr wchar_t ClassName[] = L"OrvanAboutWindow";

// cmdOK answers to IDOK and IDCANCEL, which IsDialogMessage sends for Enter and Esc.
enum ControlId : int {
    OkId = IDOK,
    Picture1Id = 100,
    PicIconId,
    DescriptionId,
};

AboutWindow *s_window = nullptr;

int idOf(std::string_view name)
{
    if (name == "Picture1")
        return Picture1Id;
    if (name == "picIcon")
        return PicIconId;
    if (name == "lblDescription")
        return DescriptionId;
    return OkId;
}

} // namespace

void AboutWindow::open(HINSTANCE instance, HWND over)
{
    if (s_window) {
        // Already open: no second window, but this one comes to the front.
        SetForegroundWindow(s_window->m_window);
        return;
    }
    auto *window = new AboutWindow(instance);
    s_window = window;
    // Once the window existed, its destruction has freed the object already.
    if (!window->create(over) && s_window == window) {
        s_window = nullptr;
        delete window;
    }
}

void AboutWindow::close()
{
    if (s_window)
        DestroyWindow(s_window->m_window);
}

HWND AboutWindow::handle()
{
    return s_window ? s_window->m_window : nullptr;
}

AboutWindow::AboutWindow(HINSTANCE instance)
    : m_instance(instance)
{ }

DWORD AboutWindow::style()
{
    return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
}

DWORD AboutWindow::exStyle()
{
    return WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
}

bool AboutWindow::create(HWND over)
{
    static const bool registered = [this] {
        WNDCLASSEXW wc {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &ownerProcedure<AboutWindow>;
        wc.hInstance = m_instance;
        // No icon in its dialog frame, but the task switcher shows the program's.
        wc.hIcon = static_cast<HICON>(LoadImageW(m_instance, ORVAN_PROGRAM_ICON, IMAGE_ICON,
            GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = ClassName;
        PictureBox::registerClass(m_instance);
        return RegisterClassExW(&wc) != 0;
    }();
    if (!registered)
        return false;

    // Unowned, like the Qt window: it stays open when the main window closes.
    if (!CreateWindowExW(exStyle(), ClassName, widen(Caption).c_str(), style(), CW_USEDEFAULT,
            CW_USEDEFAULT, 0, 0, nullptr, nullptr, m_instance, this))
        return false;

    const int dpi = static_cast<int>(GetDpiForWindow(m_window));
    RECT frame { 0, 0, px(ClientWidth, dpi), px(ClientHeight, dpi) };
    AdjustWindowRectExForDpi(&frame, style(), FALSE, exStyle(), static_cast<UINT>(dpi));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Centred over the window it was opened from, as a dialog is, and kept on its screen.
    RECT area {};
    MONITORINFO monitor { sizeof monitor, {}, {}, 0 };
    GetMonitorInfoW(MonitorFromWindow(over ? over : m_window, MONITOR_DEFAULTTONEAREST), &monitor);
    if (over)
        GetWindowRect(over, &area);
    else
        area = monitor.rcWork;
    const RECT &work = monitor.rcWork;
    const int left = std::clamp(
        (area.left + area.right - width) / 2, work.left, std::max(work.left, work.right - width));
    const int top = std::clamp(
        (area.top + area.bottom - height) / 2, work.top, std::max(work.top, work.bottom - height));
    SetWindowPos(m_window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    createControls();
    placeControls(dpi);
    ShowWindow(m_window, SW_SHOW);
    m_focus = m_ok;
    SetFocus(m_ok);
    return true;
}

void AboutWindow::createControls()
{
    m_picture = loadPngResource(m_instance, ORVAN_ABOUT_PICTURE);
    const int dpi = static_cast<int>(GetDpiForWindow(m_window));
    const int iconSize = MulDiv(IconSize, dpi, twips::DesignDpi);
    m_icon.reset(static_cast<HICON>(
        LoadImageW(m_instance, ORVAN_PROGRAM_ICON, IMAGE_ICON, iconSize, iconSize, 0)));

    // Tab order is creation order: by the table's tab index.
    std::vector<const Control *> order;
    for (const Control &c : Controls)
        order.push_back(&c);
    std::stable_sort(order.begin(), order.end(),
        [](const Control *a, const Control *b) { return a->tab < b->tab; });

    for (const Control *c : order) {
        const int id = idOf(c->name);
        const HMENU menuId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
        switch (c->kind) {
        case Kind::Picture:
            if (id == Picture1Id)
                PictureBox::create(m_window, id, L"Orvan unk4 picture", m_picture.get(), nullptr);
            else
                PictureBox::create(m_window, id, L"Orvan unk4 icon", nullptr, m_icon.get());
            break;
        case Kind::CentredLabel:
            m_description = CreateWindowExW(0, L"STATIC", widen(Description).c_str(),
                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_CENTER | SS_NOPREFIX, 0, 0, 0, 0,
                m_window, menuId, m_instance, nullptr);
            break;
        case Kind::Button:
            m_ok = CreateWindowExW(0, L"BUTTON", L"OK",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
                m_window, menuId, m_instance, nullptr);
            break;
        default:
            break;
        }
    }
}

// Places every control at the window's dpi, in the window font of that dpi.
void AboutWindow::placeControls(int dpi)
{
    Font font = windowFont(WindowPoints, dpi);
    for (const Control &c : Controls) {
        HWND control = GetDlgItem(m_window, idOf(c.name));
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        SetWindowPos(control, nullptr, px(c.left, dpi), px(c.top, dpi), px(c.width, dpi),
            px(c.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_font = std::move(font); // the controls use the new one now; the old one may go
}

LRESULT AboutWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return onCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
        onActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_NCDESTROY: {
        const LRESULT result = DefWindowProcW(m_window, message, wParam, lParam);
        onNcDestroy();
        return result;
    }
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void AboutWindow::onCommand(int id)
{
    // OK by click, Space or Enter, or Esc anywhere in the window.
    if (id == IDOK || id == IDCANCEL)
        DestroyWindow(m_window);
}

LRESULT AboutWindow::onCtlColorStatic(HDC dc, HWND control)
{
    const LRESULT brush = DefWindowProcW(m_window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(control));
    // The description is black, as designed, whatever the system's text colour; but on a dark
    // window the system's.
    if (control == m_description)
        SetTextColor(dc,
            legibleText(RGB(0, 0, 0), GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE)));
    return brush;
}

// A plain window gives the focus to itself on activation; the control that had it gets it back.
void AboutWindow::onActivate(bool active)
{
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(m_window, focus))
            m_focus = focus;
    } else if (m_focus) {
        SetFocus(m_focus);
    }
}

void AboutWindow::onDpiChanged(int dpi, const RECT &suggested)
{
    RECT frame { 0, 0, px(ClientWidth, dpi), px(ClientHeight, dpi) };
    AdjustWindowRectExForDpi(&frame, style(), FALSE, exStyle(), static_cast<UINT>(dpi));
    SetWindowPos(m_window, nullptr, suggested.left, suggested.top, frame.right - frame.left,
        frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    placeControls(dpi);
    InvalidateRect(m_window, nullptr, TRUE);
}

void AboutWindow::onNcDestroy()
{
    if (s_window == this)
        s_window = nullptr;
    delete this;
    WindowCount::closed();
}

} // namespace win32
