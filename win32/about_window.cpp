#include "win32/about_window.h"

#include "form/about_form_layout.h"
#include "win32/legible_text.h"
#include "win32/picture_box.h"
#include "win32/png_picture.h"
#include "win32/resource_ids.h"
#include "win32/wide_text.h"
#include "win32/window_font.h"

#include <algorithm>
#include <utility>
#include <vector>

using namespace about_layout;

namespace win32 {

namespace {

AboutWindow *s_window = nullptr;

// A control that gives a command has the command's id; the others are numbered by their row.
// IsDialogMessage sends IDOK for Enter and IDCANCEL for Esc (1 and 2): no control has them.
enum ControlId : int {
    CommandBase = 100, // + the command
    RowBase = 200,     // + the row of the table
};
static_assert(CommandBase + static_cast<int>(Command::Count) <= RowBase);

int idOf(const Control &c)
{
    return c.command == Command::None ? RowBase + static_cast<int>(&c - Controls)
                                      : CommandBase + static_cast<int>(c.command);
}

// The command an id gives: its control's, or Close for Enter and Esc, which close the window as
// OK does.
Command commandOf(int id)
{
    if (id == IDOK || id == IDCANCEL)
        return Command::Close;
    return form::isCommand<Command>(id - CommandBase) ? static_cast<Command>(id - CommandBase)
                                                      : Command::None;
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

AboutWindow::AboutWindow(HINSTANCE instance)
    : TopLevelWindow(instance,
        { L"OrvanAboutWindow", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
            WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, ClientWidth, ClientHeight })
{ }

bool AboutWindow::create(HWND over)
{
    PictureBox::registerClass(m_instance);
    // Unowned, like the Qt window: it stays open when the main window closes.
    if (!createWindow(Caption))
        return false;
    centreOver(over);
    createControls();
    placeControls(dpi());
    ShowWindow(m_window, SW_SHOW);
    giveFocus(m_ok);
    return true;
}

// Centred over the window it was opened from, as a dialog is, and kept on its screen.
void AboutWindow::centreOver(HWND over)
{
    RECT frame {};
    GetWindowRect(m_window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    MONITORINFO monitor { sizeof monitor, {}, {}, 0 };
    GetMonitorInfoW(MonitorFromWindow(over ? over : m_window, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT area = monitor.rcWork;
    if (over)
        GetWindowRect(over, &area);
    const RECT &work = monitor.rcWork;
    const int left = std::clamp(
        (area.left + area.right - width) / 2, work.left, std::max(work.left, work.right - width));
    const int top = std::clamp(
        (area.top + area.bottom - height) / 2, work.top, std::max(work.top, work.bottom - height));
    SetWindowPos(m_window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AboutWindow::createControls()
{
    m_picture = loadPngResource(m_instance, ORVAN_ABOUT_PICTURE);
    const int iconSize = MulDiv(IconSize, dpi(), twips::DesignDpi);
    m_icon.reset(static_cast<HICON>(
        LoadImageW(m_instance, ORVAN_PROGRAM_ICON, IMAGE_ICON, iconSize, iconSize, 0)));

    // Tab order is creation order: by the table's tab index.
    std::vector<const Control *> order;
    for (const Control &c : Controls)
        order.push_back(&c);
    std::stable_sort(order.begin(), order.end(),
        [](const Control *a, const Control *b) { return a->tab < b->tab; });

    for (const Control *c : order) {
        const int id = idOf(*c);
        const std::wstring caption = widen(c->caption);
        switch (c->kind) {
        case Kind::Picture:
            if (constexpr const Control &Picture1 = control("Picture1"); c == &Picture1)
                PictureBox::create(m_window, id, L"Orvan unk4 picture", m_picture.get(), nullptr);
            else
                PictureBox::create(m_window, id, L"Orvan unk4 icon", nullptr, m_icon.get());
            break;
        case Kind::CentredLabel:
            m_description = createControl(L"STATIC", caption.c_str(), SS_CENTER | SS_NOPREFIX, id);
            break;
        case Kind::Button:
            m_ok = createControl(L"BUTTON", caption.c_str(), WS_TABSTOP | BS_DEFPUSHBUTTON, id);
            break;
        default:
            break;
        }
    }
}

// Places every control at the window's dpi, in the window font of that dpi.
void AboutWindow::placeControls(int dpi)
{
    Font font = windowFont(form::Font::Window, dpi);
    for (const Control &c : Controls) {
        HWND control = GetDlgItem(m_window, idOf(c));
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        SetWindowPos(control, nullptr, px(c.left, dpi), px(c.top, dpi), px(c.width, dpi),
            px(c.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_font = std::move(font); // the controls use the new one now; the old one may go
}

LRESULT AboutWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COMMAND)
        return TopLevelWindow::onMessage(message, wParam, lParam);
    // OK by click, Space or Enter, or Enter and Esc anywhere in the window. Every command is
    // named, so that one added to About's table does not build until it is handled here.
    switch (commandOf(LOWORD(wParam))) {
    case Command::Close:
        DestroyWindow(m_window);
        break;
    case Command::None:
    case Command::Count:
        break;
    }
    return 0;
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

void AboutWindow::onDestroyed()
{
    if (s_window == this)
        s_window = nullptr;
    delete this;
}

} // namespace win32
