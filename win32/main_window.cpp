#include "win32/main_window.h"

#include "win32/clickable_label.h"
#include "win32/legible_text.h"
#include "win32/wide_text.h"
#include "win32/window_font.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <string>

using layout::px;

namespace win32 {

namespace {

// IsDialogMessage sends IDOK and IDCANCEL (1 and 2) for Enter and Esc: no control has them.
// Menu entries and command buttons have the id of their command; the other controls of the
// table, which the window knows by their handles, have none.
enum ControlId : int {
    CommandBase = 100,     // + the command
    FlagBoxBase = 200,     // + the flag's index
    DescriptionBase = 300, // + the flag's index
};

constexpr int commandId(form::Command command)
{
    return command == form::Command::None ? 0 : CommandBase + static_cast<int>(command);
}

static_assert(CommandBase + static_cast<int>(form::Command::Count) <= FlagBoxBase
    && FlagBoxBase + flags::FlagCount <= DescriptionBase);

// Sent by a button of the window to the window when it takes the focus: check boxes report it
// only with BS_NOTIFY, which would turn a double-click into one click.
constexpr UINT WM_CONTROLFOCUSED = WM_APP + 1;
// Sent by a button to the window when an assistive program asks it for its accessible object.
constexpr UINT WM_CONTROLQUERIED = WM_APP + 2;

// The window's buttons, subclassed. GO and Cancel press nothing on Enter, as in the Qt program,
// where they are no default buttons: without DLGC_UNDEFPUSHBUTTON, IsDialogMessage neither
// makes a focused push button the default one nor sends it Enter; Enter becomes IDOK, which the
// window ignores.
WNDPROC s_buttonProcedure = nullptr;

LRESULT CALLBACK buttonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETOBJECT)
        SendMessageW(GetParent(button), WM_CONTROLQUERIED, 0, 0);
    const LRESULT result = CallWindowProcW(s_buttonProcedure, button, message, wParam, lParam);
    if (message == WM_SETFOCUS)
        SendMessageW(GetParent(button), WM_CONTROLFOCUSED, reinterpret_cast<WPARAM>(button), 0);
    if (message == WM_GETDLGCODE)
        return (result & ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) | DLGC_BUTTON;
    return result;
}

void subclassButton(HWND button)
{
    // Every BUTTON has the same class procedure.
    s_buttonProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&buttonProcedure)));
}

std::wstring windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

// The extent of a control's text on one line, in the font selected into `dc`.
SIZE textSize(HDC dc, HWND control)
{
    const std::wstring text = windowText(control);
    SIZE size {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

} // namespace

// A fixed single border: title, system menu and close button, no minimize or maximize.
MainWindow::MainWindow(HINSTANCE instance)
    : TopLevelWindow(instance,
        { L"OrvanMainWindow", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
            WS_EX_CONTROLPARENT, layout::ClientWidth, layout::ClientHeight })
{ }

bool MainWindow::create(int show)
{
    if (!createWindow(layout::Caption, createMenus()))
        return false;
    createControls();
    placeControls(dpi());
    m_form.load();
    ShowWindow(m_window, show);
    UpdateWindow(m_window);
    giveFocus(m_value.handle());
    return true;
}

// The menu bar, which the window owns once created with it; each menu belongs to the bar.
HMENU MainWindow::createMenus()
{
    HMENU bar = CreateMenu();
    HMENU menu = nullptr;
    for (const layout::MenuEntry &entry : layout::Menus) {
        const std::wstring caption = widen(entry.caption);
        switch (entry.kind) {
        case layout::MenuKind::Menu:
            menu = CreatePopupMenu();
            AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), caption.c_str());
            break;
        case layout::MenuKind::Separator:
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            break;
        case layout::MenuKind::Entry:
            AppendMenuW(
                menu, MF_STRING, static_cast<UINT_PTR>(commandId(entry.command)), caption.c_str());
            break;
        }
    }
    return bar;
}

void MainWindow::createControls()
{
    // The window order of the layout is the order of creation, which Windows makes the tab
    // order (the controls that take the focus have WS_TABSTOP) and the z-order, the popup last.
    // One exception: Label2 goes just before the value box, whose accessible name it then
    // gives (MSAA names an edit after the static control before it).
    constexpr int Label2 = static_cast<int>(&layout::control("Label2") - layout::Controls);
    constexpr int Text1 = static_cast<int>(&layout::control("Text1") - layout::Controls);
    for (const layout::Slot &slot : layout::WindowOrder) {
        if (slot.what == layout::Slot::Table && slot.index == Label2)
            continue;
        if (slot.what == layout::Slot::Table && slot.index == Text1)
            createControlFor({ layout::Slot::Table, Label2 });
        createControlFor(slot);
    }
    // Last, after every control that takes the focus, and of no size: nobody sees it.
    m_liveRegion = createControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0);
    m_accessibility.setLiveRegion(m_liveRegion);
}

void MainWindow::createControlFor(const layout::Slot &slot)
{
    const DWORD tabStop = layout::takesFocus(slot) ? WS_TABSTOP : 0;
    const int i = slot.index;
    switch (slot.what) {
    case layout::Slot::FlagBox:
        m_flags[i] = createControl(L"BUTTON", widen(flags::caption(i)).c_str(),
            tabStop | BS_AUTOCHECKBOX, FlagBoxBase + i);
        subclassButton(m_flags[i]);
        m_accessibility.describe(m_flags[i], widen(flags::description(i)));
        return;
    case layout::Slot::Description:
        m_descriptions[i] = createControl(L"STATIC", widen(flags::description(i)).c_str(),
            SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, DescriptionBase + i);
        ClickableLabel::attach(m_descriptions[i], L"Explain");
        return;
    case layout::Slot::Table:
        break;
    }
    const layout::Control &c = layout::Controls[i];
    const int id = commandId(c.command);
    const std::wstring caption = widen(c.caption);
    const auto create = [&](const wchar_t *className, DWORD style, DWORD exStyle = 0) {
        return m_controls[i] = createControl(className, caption.c_str(), style, id, exStyle);
    };
    switch (c.kind) {
    case layout::Kind::Label:
    case layout::Kind::AutoLabel:
        // One line: clipped, never wrapped onto a line that the control has no room for.
        create(L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX);
        break;
    case layout::Kind::WrapLabel:
        create(L"STATIC", SS_LEFT | SS_NOPREFIX);
        break;
    case layout::Kind::Button:
        subclassButton(create(L"BUTTON", tabStop | BS_PUSHBUTTON));
        break;
    case layout::Kind::TextBox: {
        HWND edit = create(L"EDIT", tabStop | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
        m_value.attach(edit, [this] { m_form.valueClicked(); });
        m_clipboard.attach(m_window, edit);
        break;
    }
    case layout::Kind::Popup:
        // A tooltip-coloured label with a flat one-pixel border; a click closes it.
        m_popup = create(L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY | WS_BORDER);
        ClickableLabel::attach(m_popup, L"Close");
        m_accessibility.setAlert(m_popup);
        break;
    case layout::Kind::CentredLabel:
    case layout::Kind::Picture:
        break; // the About window's kinds
    }
}

// Places every control at a dpi, in the fonts of that dpi.
void MainWindow::placeControls(int dpi)
{
    Font font = windowFont(form::Font::Window, dpi);
    Font valueFont = windowFont(form::Font::ValueBox, dpi);
    // A control in a font, at a place in twips, of a size in pixels.
    const auto place
        = [dpi](HWND control, HFONT controlFont, int left, int top, int width, int height) {
              SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), FALSE);
              SetWindowPos(control, nullptr, px(left, dpi), px(top, dpi), width, height,
                  SWP_NOZORDER | SWP_NOACTIVATE);
          };
    // Every label is measured in the window font, through one device context.
    WindowDc dc(m_window);
    SelectedObject measuring(dc.get(), font.get());

    for (int row = 0; row < layout::ControlCount; ++row) {
        const layout::Control &c = layout::Controls[row];
        HWND control = m_controls[row];
        // The popup where it was last shown, which it keeps till it is shown again.
        const twips::Rect where = c.kind == layout::Kind::Popup
            ? m_popupPlace
            : twips::Rect { c.left, c.top, c.width, c.height };
        int width = px(where.width, dpi);
        int height = px(where.height, dpi);
        if (c.kind == layout::Kind::AutoLabel) {
            const SIZE size = textSize(dc.get(), control);
            width = size.cx;
            height = size.cy;
        } else if (c.kind == layout::Kind::WrapLabel) {
            const std::wstring text = windowText(control);
            RECT bounds { 0, 0, width, 0 };
            DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &bounds,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_LEFT | DT_EXPANDTABS);
            height = bounds.bottom;
        }
        place(control, (c.font == form::Font::ValueBox ? valueFont : font).get(), where.left,
            where.top, width, height);
    }

    for (int i = 0; i < flags::FlagCount; ++i) {
        place(m_flags[i], font.get(), layout::FlagBoxLeft, layout::rowTop(i),
            px(layout::FlagBoxWidth, dpi), px(layout::RowHeight, dpi));
        // As wide as its text, so that a click beside the text is no click on the description;
        // one row high. At 96 dpi that is the designed width; at other sizes the bitmap font
        // does not scale exactly, and the whole text stays readable.
        place(m_descriptions[i], font.get(), layout::DescriptionLeft, layout::rowTop(i),
            textSize(dc.get(), m_descriptions[i]).cx, px(layout::RowHeight, dpi));
    }

    // The controls use the new fonts now; the old ones may go.
    m_font = std::move(font);
    m_valueFont = std::move(valueFont);
}

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CONTROLFOCUSED:
        onControlFocused(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_GETOBJECT:
    case WM_CONTROLQUERIED:
        m_accessibility.annotate();
        return message == WM_GETOBJECT ? DefWindowProcW(m_window, message, wParam, lParam) : 0;
    case WM_HELP:
        onHelp(*reinterpret_cast<const HELPINFO *>(lParam));
        return TRUE;
    case WM_CLOSE:
        if (m_ending)
            return 0; // already on its way out, waiting for the clipboard
        settleClipboard();
        return TopLevelWindow::onMessage(message, wParam, lParam);
    default:
        return TopLevelWindow::onMessage(message, wParam, lParam);
    }
}

void MainWindow::onCommand(int id, int code, HWND control)
{
    // A menu entry (code 0) or a command button: the id is the command's.
    if (form::isCommand<form::Command>(id - CommandBase)) {
        if (code == BN_CLICKED)
            m_form.run(static_cast<form::Command>(id - CommandBase));
        return;
    }
    if (id >= FlagBoxBase && id < FlagBoxBase + flags::FlagCount) {
        if (code == BN_CLICKED)
            m_form.flagClicked(id - FlagBoxBase);
        return;
    }
    if (id >= DescriptionBase && id < DescriptionBase + flags::FlagCount) {
        if (code == STN_CLICKED && form::MainForm::isClick(pressCount()))
            m_form.descriptionClicked(id - DescriptionBase);
        return;
    }
    if (control == m_value.handle()) {
        if (code == EN_SETFOCUS)
            onControlFocused(m_value.handle());
        else if (code == EN_CHANGE && !m_settingValue)
            m_form.valueEdited(); // typed, deleted or pasted from the context menu
        return;
    }
    if (id == IDCANCEL) {
        m_form.escapePressed(); // Esc, from IsDialogMessage
        return;
    }
    if (control == m_popup && code == STN_CLICKED && form::MainForm::isClick(pressCount()))
        m_form.popupClicked();
    // IDOK, from Enter: nothing.
}

// The keyboard focus went to a control; only a move to another one counts.
void MainWindow::onControlFocused(HWND control)
{
    if (control == m_focused)
        return;
    m_focused = control;
    m_form.focusMoved();
}

// F1: Windows asks the window for help on the control that has the focus.
void MainWindow::onHelp(const HELPINFO &help)
{
    if (help.iContextType != HELPINFO_WINDOW)
        return;
    const auto box = std::find(m_flags.begin(), m_flags.end(), help.hItemHandle);
    m_form.helpRequested(box == m_flags.end() ? -1 : static_cast<int>(box - m_flags.begin()));
}

// A double-click on a description opens the popup over it, and its second click lands on the
// popup, a window of its own, so Windows reports it as a click there (STN_CLICKED, not
// STN_DBLCLK); the same goes the other way round. So the window counts the presses of a quick
// series on its labels itself, by time and place, and the form says which of them are clicks.
int MainWindow::pressCount()
{
    const LONG time = GetMessageTime();
    const DWORD position = GetMessagePos();
    const POINT at { GET_X_LPARAM(position), GET_Y_LPARAM(position) };
    const bool quick = m_lastPress.count > 0
        && static_cast<DWORD>(time - m_lastPress.time) <= GetDoubleClickTime()
        && std::abs(at.x - m_lastPress.at.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2
        && std::abs(at.y - m_lastPress.at.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    m_lastPress = { quick ? m_lastPress.count + 1 : 1, time, at };
    return m_lastPress.count;
}

LRESULT MainWindow::onCtlColorStatic(HDC dc, HWND control)
{
    if (control != m_popup)
        return DefWindowProcW(m_window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
            reinterpret_cast<LPARAM>(control));
    // The tooltip background, with the labels' text colour where that reads on it; a scheme
    // that pairs a light tooltip with light window text (or dark with dark) gets its tooltip
    // text colour instead.
    SetBkColor(dc, GetSysColor(COLOR_INFOBK));
    SetTextColor(dc,
        legibleText(
            GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_INFOTEXT), GetSysColor(COLOR_INFOBK)));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
}

bool MainWindow::isTicked(int index) const
{
    return SendMessageW(m_flags[index], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::setTicked(int index, bool ticked)
{
    SendMessageW(m_flags[index], BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string MainWindow::valueText() const
{
    return narrow(windowText(m_value.handle()));
}

void MainWindow::setValueText(std::string_view text)
{
    // The edit control reports this change too, but it is no edit of the user's.
    m_settingValue = true;
    m_value.setText(widen(text));
    m_settingValue = false;
}

void MainWindow::selectValueText(int start, int length)
{
    SendMessageW(m_value.handle(), EM_SETSEL, static_cast<WPARAM>(start),
        static_cast<LPARAM>(start + length));
}

void MainWindow::setGoEnabled(bool enabled)
{
    EnableWindow(GetDlgItem(m_window, commandId(form::Command::Go)), enabled);
}

void MainWindow::showMessage(std::string_view title, std::string_view text)
{
    MessageBoxW(m_window, widen(text).c_str(), widen(title).c_str(), MB_OK);
}

void MainWindow::announce(std::string_view text)
{
    SetWindowTextW(m_liveRegion, widen(text).c_str());
    m_accessibility.speak();
}

void MainWindow::showPopup(std::string_view text, const twips::Rect &place, int /*flag*/)
{
    m_popupPlace = place;
    SetWindowTextW(m_popup, widen(text).c_str());
    const int dpi = static_cast<int>(GetDpiForWindow(m_window));
    // On top of the labels, which then leave its area to it and let it take the clicks.
    SetWindowPos(m_popup, HWND_TOP, px(place.left, dpi), px(place.top, dpi), px(place.width, dpi),
        px(place.height, dpi), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(m_popup, nullptr, TRUE);
    m_accessibility.announce();
}

// Before the window goes: the last total reaches the clipboard, or the user hears which one
// did not.
void MainWindow::settleClipboard()
{
    m_ending = true;
    if (const std::optional<std::wstring> lost = m_clipboard.settle()) {
        const std::wstring text = L"The total " + *lost
            + L" did not reach the clipboard: another program held it open until the end. "
              L"The clipboard keeps what it held before.";
        MessageBoxW(
            m_window, text.c_str(), widen(layout::ProgramTitle).c_str(), MB_OK | MB_ICONWARNING);
    }
    m_ending = false;
}

void MainWindow::endProgram()
{
    if (m_ending)
        return;
    settleClipboard();
    // Each window counts itself out as it goes; the last one ends the message loop.
    AboutWindow::close();
    DestroyWindow(m_window);
}

} // namespace win32
