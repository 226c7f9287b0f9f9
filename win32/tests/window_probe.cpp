// Reads what a person sees of the Windows program from another process in the same Wine
// session, where X tools see only Wine's frames, and does what other programs would do to it.
// A request is a verb and its argument: "window_probe VERB ARGUMENT" answers one and exits, 1
// where what it needs is missing; "window_probe serve" answers requests from its input, one a
// line, each answer ending with a NUL. Its lines end in LF alone.
//
// The behaviour table (form/tests/behaviour.rows, compiled in):
//   rows              how many rows the table has
//   row N             row N (from 0): "name<TAB>NAME", one "VERB<TAB>TEXT" per action,
//                     "clipboard<TAB>TEXT", "message<TAB>limit|none"
//   check N           one line per way the main window differs from row N's value box, ticks,
//                     GO, focus and explanation; none when it matches
// The windows, the main window's controls named as in the layout (Text1, Check1_N, Label3_N):
//   state             "window none", or "focus NAME" (another window's control as CLASS:TEXT,
//                     "Button:OK"), "value TEXT", "go on|off", "message limit|none|TEXT" (the
//                     message box's), "menu open|closed"
//   where NAME        the screen point "x y" at the middle of control NAME; nothing if none
//   layout DPI        a line per control out of the place the layout gives it at that dpi
//   client TITLE      "left top width height" of the client area on the screen, a line per
//                     visible top-level window titled exactly TITLE
// What other programs do:
//   copy TEXT         puts TEXT on the clipboard; a line if it could not
//   insert TEXT       TEXT in place of the value box's selection (EM_REPLACESEL), as an
//                     assistive program would put it
//   unichar CODES     sends WM_UNICHAR with each of the space-separated hexadecimal code points
//                     to the value box; its answers on one line
//   describe NAME     the accessible "name: description" of control NAME: "16: Creates ..."
//   act NAME          the default action of control NAME, which it then does, as a screen
//                     reader would
//   alert SECONDS     "listening", then "alert NAME: DESCRIPTION" of the program's first alert
//                     (EVENT_SYSTEM_ALERT) within that time
//   hold MS           "held" once it holds the clipboard open, as a clipboard manager may, for
//                     MS milliseconds

#include "flags/flag_model.h"
#include "form/main_form_layout.h"
#include "form/tests/behaviour.h"
#include "win32/wide_text.h"

#include <behaviour_rows.h>
#include <windows.h>

#include <initguid.h>

#include <oleacc.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using layout::Kind;
using layout::Slot;
using win32::narrow;
using win32::widen;

void answer(const std::string &line)
{
    std::cout << line << std::endl;
}

std::vector<HWND> windowsTitled(std::string_view title)
{
    std::vector<HWND> found;
    const std::wstring wide = widen(title);
    for (HWND window = nullptr;
         (window = FindWindowExW(nullptr, window, nullptr, wide.c_str())) != nullptr;) {
        if (IsWindowVisible(window))
            found.push_back(window);
    }
    return found;
}

// A window's text, from another process: GetWindowText would give another process's edit
// control its creation text.
std::wstring textOf(HWND window)
{
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::wstring text(length + 1, L'\0');
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
        SMTO_ABORTIFHUNG, 2000, &length); // now the length copied
    text.resize(length);
    return text;
}

std::string nameOf(const Slot &slot)
{
    const std::string index = std::to_string(slot.index);
    return slot.what == Slot::FlagBox    ? "Check1_" + index
        : slot.what == Slot::Description ? "Label3_" + index
                                         : std::string(layout::Controls[slot.index].name);
}

// A control's row of the layout; a flag row's box and description made rows like the table's.
layout::Control rowOf(const Slot &slot)
{
    const int i = slot.index;
    if (slot.what == Slot::Table)
        return layout::Controls[i];
    const bool box = slot.what == Slot::FlagBox;
    return { "", box ? Kind::Button : Kind::Label, box ? flags::caption(i) : flags::description(i),
        box ? layout::FlagBoxLeft : layout::DescriptionLeft, layout::rowTop(i),
        box ? layout::FlagBoxWidth : layout::DescriptionWidths[i], layout::RowHeight, 0,
        layout::Command::None, layout::Font::Window };
}

// The main window's control in that slot, by its class and caption; the popup, whose caption
// changes, as the one label with a border.
HWND controlAt(HWND main, const Slot &slot)
{
    const layout::Control c = rowOf(slot);
    const std::wstring caption = widen(c.caption);
    if (c.kind != Kind::Popup)
        return FindWindowExW(main, nullptr,
            c.kind == Kind::Button        ? L"Button"
                : c.kind == Kind::TextBox ? L"Edit"
                                          : L"Static",
            caption.empty() ? nullptr : caption.c_str());
    for (HWND label = nullptr;
         (label = FindWindowExW(main, label, L"Static", nullptr)) != nullptr;) {
        if (GetWindowLongW(label, GWL_STYLE) & WS_BORDER)
            return label;
    }
    return nullptr;
}

// "1 2 3", or "none"
std::string numbers(const std::vector<long> &values)
{
    std::string line;
    for (long value : values)
        line += " " + std::to_string(value);
    return values.empty() ? "none" : line.substr(1);
}

HWND controlNamed(HWND main, std::string_view name)
{
    for (const Slot &slot : layout::WindowOrder) {
        if (nameOf(slot) == name)
            return controlAt(main, slot);
    }
    return nullptr;
}

// The control that has the focus in the main window's thread: a main window's control by its
// name, another window's by its class and text.
std::string focusName(HWND main)
{
    GUITHREADINFO info {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
    HWND focus = info.hwndFocus;
    for (const Slot &slot : layout::FocusOrder) {
        if (focus && controlAt(main, slot) == focus)
            return nameOf(slot);
    }
    wchar_t className[64] = {};
    return focus && GetClassNameW(focus, className, 64)
        ? narrow(className) + ":" + narrow(textOf(focus))
        : "nothing";
}

// Each control of the main window out of the place the layout gives it at that dpi.
std::vector<std::string> misplaced(HWND main, int dpi)
{
    std::vector<std::string> lines;
    for (const Slot &slot : layout::WindowOrder) {
        const layout::Control c = rowOf(slot);
        if (c.kind == Kind::Popup)
            continue; // placed when shown; the session test looks at it
        RECT r {};    // none where the control is missing
        GetWindowRect(controlAt(main, slot), &r);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT *>(&r), 2);
        // Where the text sizes a label, -1. At the design dpi the descriptions come out at
        // their designed widths.
        const bool textWidth = c.kind == Kind::AutoLabel
            || (slot.what == Slot::Description && dpi != twips::DesignDpi);
        const bool textHeight = c.kind == Kind::AutoLabel || c.kind == Kind::WrapLabel;
        const int left = layout::px(c.left, dpi), top = layout::px(c.top, dpi);
        const int width = textWidth ? -1 : layout::px(c.width, dpi);
        const int height = textHeight ? -1 : layout::px(c.height, dpi);
        const long w = r.right - r.left, h = r.bottom - r.top;
        if (r.left != left || r.top != top || (width >= 0 && w != width)
            || (height >= 0 && h != height) || w <= 0 || h <= 0)
            lines.push_back(nameOf(slot) + ": " + numbers({ r.left, r.top, w, h }) + ", expected "
                + numbers({ left, top, width, height }));
    }
    // Screen readers name the value box after the static control just before it.
    if (GetWindow(controlNamed(main, "Text1"), GW_HWNDPREV) != controlNamed(main, "Label2"))
        lines.push_back("Text1: the control before it is no Label2");
    return lines;
}

// The text of the message box the main window shows, if one is open: "limit" for the limit
// message.
std::string messageShown()
{
    const std::vector<HWND> boxes = windowsTitled(layout::ProgramTitle);
    if (boxes.empty())
        return "none";
    for (HWND label = nullptr;
         (label = FindWindowExW(boxes.front(), label, L"Static", nullptr)) != nullptr;) {
        const std::string text = narrow(textOf(label));
        if (!text.empty())
            return text == flags::InvalidValueMessage ? "limit" : text;
    }
    return "no text";
}

// A long text shown by its start and its length.
std::string shown(const std::string &text)
{
    return text.size() <= 40
        ? "'" + text + "'"
        : "'" + text.substr(0, 20) + "...' (" + std::to_string(text.size()) + " characters)";
}

std::vector<std::string> differences(HWND main, const behaviour::Row &row)
{
    std::vector<std::string> lines;
    const auto differ = [&](const char *what, const std::string &got, const std::string &want) {
        if (got != want)
            lines.push_back(what + (" " + got) + ", expected " + want);
    };
    differ("value", shown(narrow(textOf(controlNamed(main, "Text1")))), shown(row.value));
    std::vector<long> ticked;
    for (int i = 0; i < flags::FlagCount; ++i) {
        if (SendMessageW(controlNamed(main, "Check1_" + std::to_string(i)), BM_GETCHECK, 0, 0)
            == BST_CHECKED)
            ticked.push_back(i);
    }
    differ("ticked", numbers(ticked), numbers({ row.ticked.begin(), row.ticked.end() }));
    differ("GO", IsWindowEnabled(controlNamed(main, "cmdGo")) ? "on" : "off",
        row.goEnabled ? "on" : "off");
    const std::string focus = focusName(main);
    differ("focus on", focus, row.focus == "*" ? focus : row.focus);
    differ("message box", messageShown(), "none");
    HWND popup = controlNamed(main, "Label1");
    differ("explanation", IsWindowVisible(popup) ? shown(narrow(textOf(popup))) : "none",
        row.popup == behaviour::NoPopup        ? "none"
            : row.popup == behaviour::FwoPopup ? shown(std::string(flags::fwoNote()))
                                               : shown(flags::detailText(row.popup)));
    return lines;
}

// What a screen reader gets of a control.
IAccessible *accessibleOf(HWND control)
{
    void *object = nullptr;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return control
            && SUCCEEDED(
                AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible, &object))
        ? static_cast<IAccessible *>(object)
        : nullptr;
}

std::string taken(BSTR text)
{
    const std::string narrowed = narrow(text ? text : L"");
    SysFreeString(text);
    return narrowed;
}

// "name: description" of an accessible object, which it then lets go.
std::string described(IAccessible *object, VARIANT child)
{
    BSTR name = nullptr, description = nullptr;
    object->get_accName(child, &name);
    object->get_accDescription(child, &description);
    object->Release();
    return taken(name) + ": " + taken(description);
}

void CALLBACK onAlert(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    IAccessible *accessible = nullptr;
    VARIANT which {};
    if (SUCCEEDED(AccessibleObjectFromEvent(window, object, child, &accessible, &which))) {
        answer("alert " + described(accessible, which));
        PostQuitMessage(0);
    }
}

// Answers one request; false where the window or control it needs is missing.
bool respond(const std::string &verb, const std::string &argument)
{
    static const std::vector<behaviour::Row> rows
        = behaviour::parse(behaviour::Table, flags::FlagCount);
    const std::vector<HWND> mains = windowsTitled(layout::Caption);
    HWND main = mains.empty() ? nullptr : mains.front();
    VARIANT self {}; // CHILDID_SELF
    self.vt = VT_I4;
    if (verb == "rows") {
        answer(std::to_string(rows.size()));
    } else if (verb == "row") {
        const behaviour::Row &row = rows.at(std::stoul(argument));
        answer("name\t" + row.name);
        for (const behaviour::Action &action : row.actions) {
            for (int n = 0; n < action.times; ++n)
                answer(action.verb + "\t" + action.text);
        }
        answer("clipboard\t" + row.clipboard);
        answer(std::string("message\t") + (row.limitMessage ? "limit" : "none"));
    } else if (verb == "client") {
        for (HWND window : windowsTitled(argument)) {
            RECT r {};
            GetClientRect(window, &r);
            MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&r), 2);
            answer(numbers({ r.left, r.top, r.right - r.left, r.bottom - r.top }));
        }
    } else if (verb == "copy") {
        const std::wstring text = widen(argument);
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t *>(GlobalLock(data)));
        GlobalUnlock(data);
        if (!(OpenClipboard(nullptr) && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, data)))
            answer("the clipboard did not take " + shown(argument));
        CloseClipboard();
    } else if (verb == "hold") {
        for (int n = 0; !OpenClipboard(nullptr); Sleep(100)) { // while another program has it open
            if (++n == 50)
                return false;
        }
        answer("held");
        Sleep(static_cast<DWORD>(std::stoul(argument)));
        CloseClipboard();
    } else if (!main) {
        if (verb != "where")
            answer("window none");
        return false;
    } else if (verb == "state") {
        answer("focus " + focusName(main));
        answer("value " + narrow(textOf(controlNamed(main, "Text1"))));
        answer(std::string("go ") + (IsWindowEnabled(controlNamed(main, "cmdGo")) ? "on" : "off"));
        answer("message " + messageShown());
        const bool menu = IsWindowVisible(FindWindowW(L"#32768", nullptr)); // a context menu
        answer(std::string("menu ") + (menu ? "open" : "closed"));
    } else if (verb == "check" || verb == "layout") {
        for (const std::string &line : verb == "check"
                ? differences(main, rows.at(std::stoul(argument)))
                : misplaced(main, std::stoi(argument)))
            answer(line);
    } else if (verb == "where") {
        RECT r {};
        if (!GetWindowRect(controlNamed(main, argument), &r))
            return false;
        answer(numbers({ (r.left + r.right) / 2, (r.top + r.bottom) / 2 }));
    } else if (verb == "insert") {
        SendMessageTimeoutW(controlNamed(main, "Text1"), EM_REPLACESEL, TRUE,
            reinterpret_cast<LPARAM>(widen(argument).c_str()), SMTO_ABORTIFHUNG, 2000, nullptr);
    } else if (verb == "unichar") {
        std::istringstream codes(argument);
        std::vector<long> answers;
        for (unsigned long code; codes >> std::hex >> code;)
            answers.push_back(SendMessageW(controlNamed(main, "Text1"), WM_UNICHAR, code, 0));
        answer(numbers(answers));
    } else if (verb == "describe") {
        IAccessible *object = accessibleOf(controlNamed(main, argument));
        if (!object)
            return false;
        answer(described(object, self));
    } else if (verb == "act") {
        IAccessible *object = accessibleOf(controlNamed(main, argument));
        BSTR action = nullptr;
        if (!object)
            return false;
        object->get_accDefaultAction(self, &action);
        answer(taken(action));
        const HRESULT done = object->accDoDefaultAction(self);
        object->Release();
        return SUCCEEDED(done);
    } else if (verb == "alert") {
        DWORD process = 0;
        GetWindowThreadProcessId(main, &process);
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr,
            &onAlert, process, 0, WINEVENT_OUTOFCONTEXT);
        answer("listening");
        SetTimer(nullptr, 0, static_cast<UINT>(std::stoul(argument)) * 1000, nullptr);
        MSG message;
        while (hook && GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER)
            DispatchMessageW(&message);
        return hook != nullptr;
    } else {
        answer("no such request: " + verb);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    _setmode(_fileno(stdout), _O_BINARY); // lines end in LF alone
    if (argc == 3)
        return respond(argv[1], argv[2]) ? 0 : 1;
    for (std::string request; std::getline(std::cin, request);) {
        const std::size_t space = request.find(' ');
        respond(
            request.substr(0, space), space == std::string::npos ? "" : request.substr(space + 1));
        std::cout << '\0' << std::flush;
    }
    return 0;
}
