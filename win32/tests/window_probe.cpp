// Reads what a person sees of a window from another process in the same Wine session, where X
// tools see only Wine's frames: the client area and the control that has the focus.
//
//   window_probe client TITLE   one line "left top width height" (client area on the
//                               screen) per visible top-level window titled exactly TITLE
//   window_probe focus TITLE    the class and text of the control that has the focus in that
//                               window, "Button:GO"
//   window_probe text TITLE     the text of each static control of that window, one a line
//                               (a message box's message)
//   window_probe layout DPI     compares the place of every control of the main window with
//                               the twips table at that dpi; prints each difference
//   window_probe hold MS        holds the clipboard open for MS milliseconds, as a clipboard
//                               manager may, once it has printed "held"
//   window_probe describe TEXT  the accessible name and description of the main window's flag
//                               box captioned TEXT, "16: Creates polygons ..."
//   window_probe act TEXT       prints the default action of the main window's description
//                               TEXT and does it, as a screen reader would
//   window_probe alert SECONDS  prints "listening", then "alert NAME: DESCRIPTION" of the first
//                               alert (EVENT_SYSTEM_ALERT) from the main window's process
//   window_probe unichar CODES  sends WM_UNICHAR with each of the comma-separated hexadecimal
//                               code points to the main window's value box; prints the answers
//   window_probe serve          answers requests from its input, one a line, each answer
//                               ending with a line ".", for a driver of the behaviour table:
//     rows                      how many rows the table has
//     row N                     row N (from 0): "name<TAB>NAME", one "VERB<TAB>TEXT" per action,
//                               "clipboard<TAB>TEXT", "message<TAB>limit|none"
//     check N                   one line per way the main window differs from row N's value
//                               box, ticks, GO, focus and explanation; none when it matches
//     state                     "window none", or "focus NAME", "go on|off", "message
//                               limit|none|TEXT", "menu open|closed"
//     where NAME                the screen point "x y" at the middle of control NAME
//     menukeys NAME             the keys that choose menu entry NAME, as xdotool names them
//     insert TEXT               TEXT in place of the value box's selection (EM_REPLACESEL), as
//                               an assistive program would put it
//     clipboard                 the clipboard's sequence number, which tells a change without
//                               opening it, as opening it could keep Wine from taking in X's
//     clipboard length          how many characters of text the clipboard holds, or "none"
// Exits 1 when no such window is found or a control is out of place.

#include "flags/flag_model.h"
#include "form/main_form_layout.h"
#include "form/tests/behaviour.h"

#include <behaviour_rows.h>
#include <windows.h>

#include <initguid.h>

#include <oleacc.h>

#include <fcntl.h>
#include <io.h>

#include <cctype>
#include <cstdio>
#include <cwchar>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<HWND> windowsTitled(const wchar_t *title)
{
    struct Search
    {
        const wchar_t *title;
        std::vector<HWND> found;
    } search { title, {} };
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto *s = reinterpret_cast<Search *>(data);
            wchar_t text[256] = {};
            GetWindowTextW(window, text, 256);
            if (IsWindowVisible(window) && std::wcscmp(text, s->title) == 0)
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void print(const wchar_t *text)
{
    for (; *text; ++text)
        std::putchar(*text < 0x80 ? static_cast<char>(*text) : '?');
}

std::wstring widen(std::string_view text)
{
    return std::wstring(text.begin(), text.end());
}

const wchar_t *classOf(layout::Kind kind)
{
    return kind == layout::Kind::Button ? L"Button"
        : kind == layout::Kind::TextBox ? L"Edit"
                                        : L"Static";
}

// A window's text, from another process: GetWindowText would give another process's edit
// control its creation text.
std::wstring textOf(HWND window)
{
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
        SMTO_ABORTIFHUNG, 2000, &copied);
    text.resize(copied);
    return text;
}

std::string narrow(const std::wstring &text)
{
    std::string narrow;
    for (wchar_t c : text)
        narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return narrow;
}

HWND focusIn(HWND window)
{
    GUITHREADINFO info {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                              : nullptr;
}

// The child window of that class and text (any text for an empty one), in client coordinates.
bool childRect(HWND window, const wchar_t *className, std::string_view text, RECT &rect)
{
    const std::wstring wide = widen(text);
    HWND child = FindWindowExW(window, nullptr, className, text.empty() ? nullptr : wide.c_str());
    if (!child)
        return false;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&rect), 2);
    return true;
}

// One control's expected place; -1 where the size follows the text.
struct Expected
{
    const wchar_t *className;
    std::string name;
    std::string_view text;
    int left, top, width, height;
};

int checkLayout(HWND window, int dpi)
{
    using layout::px;
    std::vector<Expected> expected;
    for (const layout::Control &c : layout::Controls) {
        const bool sizedByText
            = c.kind == layout::Kind::AutoLabel || c.kind == layout::Kind::WrapLabel;
        const wchar_t *className = classOf(c.kind);
        if (c.kind == layout::Kind::Popup)
            continue; // placed when shown; the session test looks at it
        expected.push_back({ className, std::string(c.name), c.caption, px(c.left, dpi),
            px(c.top, dpi), c.kind == layout::Kind::AutoLabel ? -1 : px(c.width, dpi),
            sizedByText ? -1 : px(c.height, dpi) });
    }
    for (int i = 0; i < flags::FlagCount; ++i) {
        const std::string index = std::to_string(i);
        expected.push_back({ L"Button", "Check1_" + index, flags::caption(i),
            px(layout::FlagBoxLeft, dpi), px(layout::rowTop(i), dpi), px(layout::FlagBoxWidth, dpi),
            px(layout::RowHeight, dpi) });
        // At the design dpi the descriptions come out at their designed widths.
        expected.push_back({ L"Static", "Label3_" + index, flags::description(i),
            px(layout::DescriptionLeft, dpi), px(layout::rowTop(i), dpi),
            dpi == twips::DesignDpi ? px(layout::DescriptionWidths[i], dpi) : -1,
            px(layout::RowHeight, dpi) });
    }

    int wrong = 0;
    for (const Expected &e : expected) {
        RECT r;
        if (!childRect(window, e.className, e.text, r)) {
            std::printf("%s: missing\n", e.name.c_str());
            ++wrong;
            continue;
        }
        const int width = r.right - r.left, height = r.bottom - r.top;
        if (r.left != e.left || r.top != e.top || (e.width >= 0 && width != e.width)
            || (e.height >= 0 && height != e.height) || width <= 0 || height <= 0) {
            std::printf("%s: %ld %ld %d %d, expected %d %d %d %d\n", e.name.c_str(), r.left, r.top,
                width, height, e.left, e.top, e.width, e.height);
            ++wrong;
        }
    }
    // Screen readers name the value box after the static control just before it.
    HWND edit = FindWindowExW(window, nullptr, L"Edit", nullptr);
    HWND before = edit ? GetWindow(edit, GW_HWNDPREV) : nullptr;
    wchar_t name[64] = {};
    if (before)
        GetWindowTextW(before, name, 64);
    if (widen(layout::control("Label2").caption) != name) {
        std::printf("Text1: the control before it is no Label2\n");
        ++wrong;
    }
    return wrong == 0 ? 0 : 1;
}

HWND mainWindow()
{
    const std::vector<HWND> main = windowsTitled(widen(layout::Caption).c_str());
    return main.empty() ? nullptr : main.front();
}

// "name: description" of an accessible object.
void printAccessible(IAccessible *object, VARIANT child)
{
    BSTR name = nullptr, description = nullptr;
    object->get_accName(child, &name);
    object->get_accDescription(child, &description);
    std::printf("%ls: %ls\n", name ? name : L"", description ? description : L"");
    SysFreeString(name);
    SysFreeString(description);
    object->Release();
}

void CALLBACK onAlert(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    IAccessible *accessible = nullptr;
    VARIANT which {};
    if (SUCCEEDED(AccessibleObjectFromEvent(window, object, child, &accessible, &which))) {
        std::printf("alert ");
        printAccessible(accessible, which);
        PostQuitMessage(0);
    }
}

int probeAccessibility(const wchar_t *what, const wchar_t *argument)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND main = mainWindow();
    DWORD process = 0;
    if (!main || !GetWindowThreadProcessId(main, &process))
        return 1;
    if (what[1] == L'c') { // act
        HWND label = FindWindowExW(main, nullptr, L"Static", argument);
        IAccessible *object = nullptr;
        if (!label
            || FAILED(AccessibleObjectFromWindow(
                label, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void **>(&object))))
            return 1;
        VARIANT self {};
        self.vt = VT_I4;
        BSTR action = nullptr;
        object->get_accDefaultAction(self, &action);
        std::printf("%ls\n", action ? action : L"");
        SysFreeString(action);
        const HRESULT done = object->accDoDefaultAction(self);
        object->Release();
        return SUCCEEDED(done) ? 0 : 1;
    }
    if (what[0] == L'd') {
        HWND box = FindWindowExW(main, nullptr, L"Button", argument);
        IAccessible *object = nullptr;
        if (!box
            || FAILED(AccessibleObjectFromWindow(
                box, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void **>(&object))))
            return 1;
        VARIANT self {}; // CHILDID_SELF, 0
        self.vt = VT_I4;
        printAccessible(object, self);
        return 0;
    }
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, &onAlert,
        process, 0, WINEVENT_OUTOFCONTEXT);
    std::printf("listening\n");
    std::fflush(stdout);
    SetTimer(nullptr, 0, static_cast<UINT>(_wtoi(argument)) * 1000, nullptr);
    MSG message;
    while (hook && GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER)
        DispatchMessageW(&message);
    return hook ? 0 : 1;
}

// The main window's controls by their names in the table, found by class and caption.
HWND controlNamed(HWND main, std::string_view name)
{
    if (name.substr(0, 7) == "Check1_" || name.substr(0, 7) == "Label3_") {
        const int index = std::stoi(std::string(name.substr(7)));
        return name[0] == 'C'
            ? FindWindowExW(main, nullptr, L"Button", widen(flags::caption(index)).c_str())
            : FindWindowExW(main, nullptr, L"Static", widen(flags::description(index)).c_str());
    }
    if (name == "Label1") { // the one label with a border: its caption changes
        for (HWND label = nullptr;
             (label = FindWindowExW(main, label, L"Static", nullptr)) != nullptr;) {
            if (GetWindowLongW(label, GWL_STYLE) & WS_BORDER)
                return label;
        }
        return nullptr;
    }
    for (const layout::Control &c : layout::Controls) {
        if (c.name != name)
            continue;
        const wchar_t *className = classOf(c.kind);
        const std::wstring caption = widen(c.caption);
        return FindWindowExW(
            main, nullptr, className, c.caption.empty() ? nullptr : caption.c_str());
    }
    return nullptr;
}

std::string nameOf(HWND main, HWND control)
{
    std::vector<std::string> names { "Text1", "cmdGo", "cmdCancel" };
    for (int i = 0; i < flags::FlagCount; ++i)
        names.push_back("Check1_" + std::to_string(i));
    for (const std::string &name : names) {
        if (control && controlNamed(main, name) == control)
            return name;
    }
    return control ? "another control" : "nothing";
}

// The text of the message box the main window shows, if one is open: "limit" for the limit
// message.
std::string messageShown()
{
    const std::vector<HWND> boxes = windowsTitled(widen(layout::ProgramTitle).c_str());
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
    const std::string value = narrow(textOf(controlNamed(main, "Text1")));
    if (value != row.value)
        lines.push_back("value " + shown(value) + ", expected " + shown(row.value));
    std::string ticked, expected;
    for (int i = 0; i < flags::FlagCount; ++i) {
        if (SendMessageW(controlNamed(main, "Check1_" + std::to_string(i)), BM_GETCHECK, 0, 0)
            == BST_CHECKED)
            ticked += " " + std::to_string(i);
    }
    for (int i : row.ticked)
        expected += " " + std::to_string(i);
    if (ticked != expected)
        lines.push_back("ticked" + (ticked.empty() ? " none" : ticked) + ", expected"
            + (expected.empty() ? " none" : expected));
    if ((IsWindowEnabled(controlNamed(main, "cmdGo")) != FALSE) != row.goEnabled)
        lines.push_back(
            std::string("GO ") + (row.goEnabled ? "off, expected on" : "on, expected off"));
    const std::string focus = nameOf(main, focusIn(main));
    if (row.focus != "*" && focus != row.focus)
        lines.push_back("focus on " + focus + ", expected " + row.focus);
    if (const std::string message = messageShown(); message != "none")
        lines.push_back("a message box still open: " + message);
    HWND popup = controlNamed(main, "Label1");
    const std::string explained = !IsWindowVisible(popup) ? "none"
        : row.popup == behaviour::FwoPopup                ? std::string(flags::fwoNote())
        : row.popup >= 0                                  ? flags::detailText(row.popup)
                                                          : "none";
    if ((IsWindowVisible(popup) != FALSE) != (row.popup != behaviour::NoPopup)
        || (IsWindowVisible(popup) && narrow(textOf(popup)) != explained))
        lines.push_back("explanation " + shown(narrow(textOf(popup)))
            + (IsWindowVisible(popup) ? " shown" : " hidden") + ", expected " + shown(explained));
    return lines;
}

std::optional<std::size_t> clipboardLength()
{
    if (!OpenClipboard(nullptr))
        return std::nullopt;
    std::optional<std::size_t> length;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (const auto *text = data ? static_cast<const wchar_t *>(GlobalLock(data)) : nullptr) {
        length = wcsnlen(text, GlobalSize(data) / sizeof(wchar_t));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return length;
}

void answer(const std::string &line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

// One request of a driver of the behaviour table.
void serveRequest(const std::vector<behaviour::Row> &rows, const std::string &request)
{
    const std::string verb = request.substr(0, request.find(' '));
    const std::string argument
        = request.find(' ') == std::string::npos ? "" : request.substr(request.find(' ') + 1);
    HWND main = mainWindow();
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
    } else if (verb == "check" && main) {
        for (const std::string &line : differences(main, rows.at(std::stoul(argument))))
            answer(line);
    } else if (verb == "check") {
        answer("no main window");
    } else if (verb == "state" && main) {
        answer("focus " + nameOf(main, focusIn(main)));
        answer(std::string("go ") + (IsWindowEnabled(controlNamed(main, "cmdGo")) ? "on" : "off"));
        answer("message " + messageShown());
        HWND menu = FindWindowW(L"#32768", nullptr);
        answer(std::string("menu ") + (menu && IsWindowVisible(menu) ? "open" : "closed"));
    } else if (verb == "state") {
        answer("window none");
    } else if (verb == "where") {
        RECT r {};
        if (HWND control = main ? controlNamed(main, argument) : nullptr) {
            GetWindowRect(control, &r);
            answer(std::to_string((r.left + r.right) / 2) + " "
                + std::to_string((r.top + r.bottom) / 2));
        }
    } else if (verb == "menukeys") {
        // The entry's access key, after its menu's: the last menu before it in the bar.
        const auto key = [](std::string_view caption) {
            return std::string(1, static_cast<char>(std::tolower(caption[caption.find('&') + 1])));
        };
        std::string menu;
        for (const layout::MenuEntry &entry : layout::Menus) {
            if (entry.kind == layout::MenuKind::Menu)
                menu = key(entry.caption);
            else if (entry.name == argument)
                answer("alt+" + menu + " " + key(entry.caption));
        }
    } else if (verb == "insert" && main) {
        const std::wstring text = widen(argument);
        SendMessageTimeoutW(controlNamed(main, "Text1"), EM_REPLACESEL, TRUE,
            reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 2000, nullptr);
    } else if (verb == "clipboard" && argument.empty()) {
        answer(std::to_string(GetClipboardSequenceNumber()));
    } else if (verb == "clipboard") {
        const std::optional<std::size_t> length = clipboardLength();
        answer(length ? std::to_string(*length) : "none");
    }
    answer(".");
    std::fflush(stdout);
}

int serve()
{
    _setmode(_fileno(stdout), _O_BINARY); // lines end in LF alone
    const std::vector<behaviour::Row> rows = behaviour::parse(behaviour::Table, flags::FlagCount);
    for (std::string request; std::getline(std::cin, request);) {
        if (!request.empty() && request.back() == '\r')
            request.pop_back();
        serveRequest(rows, request);
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc == 2 && std::wcscmp(argv[1], L"serve") == 0)
        return serve();
    if (argc != 3)
        return 2;
    if (std::wcscmp(argv[1], L"hold") == 0) {
        if (!OpenClipboard(nullptr))
            return 1;
        std::puts("held");
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(_wtoi(argv[2])));
        CloseClipboard();
        return 0;
    }
    if (std::wcscmp(argv[1], L"layout") == 0)
        return mainWindow() ? checkLayout(mainWindow(), _wtoi(argv[2])) : 1;
    if (std::wcscmp(argv[1], L"describe") == 0 || std::wcscmp(argv[1], L"alert") == 0
        || std::wcscmp(argv[1], L"act") == 0)
        return probeAccessibility(argv[1], argv[2]);
    if (std::wcscmp(argv[1], L"unichar") == 0) {
        HWND edit = mainWindow() ? FindWindowExW(mainWindow(), nullptr, L"Edit", nullptr) : nullptr;
        if (!edit)
            return 1;
        for (wchar_t *code = argv[2]; *code;) {
            const LRESULT answer = SendMessageW(edit, WM_UNICHAR, wcstoul(code, &code, 16), 0);
            std::printf(*code ? "%d " : "%d\n", static_cast<int>(answer));
            if (*code)
                ++code;
        }
        return 0;
    }
    const std::vector<HWND> windows = windowsTitled(argv[2]);
    if (windows.empty())
        return 1;
    if (std::wcscmp(argv[1], L"client") == 0) {
        for (HWND window : windows) {
            RECT client;
            GetClientRect(window, &client);
            POINT origin { 0, 0 };
            ClientToScreen(window, &origin);
            std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
        }
        return 0;
    }
    if (std::wcscmp(argv[1], L"text") == 0) {
        for (HWND child = FindWindowExW(windows.front(), nullptr, L"Static", nullptr); child;
             child = FindWindowExW(windows.front(), child, L"Static", nullptr)) {
            wchar_t text[1024] = {};
            GetWindowTextW(child, text, 1024);
            print(text);
            std::putchar('\n');
        }
        return 0;
    }
    HWND focus = focusIn(windows.front());
    if (!focus)
        return 1;
    wchar_t className[64] = {};
    GetClassNameW(focus, className, 64);
    print(className);
    std::putchar(':');
    print(textOf(focus).c_str());
    std::putchar('\n');
    return 0;
}
