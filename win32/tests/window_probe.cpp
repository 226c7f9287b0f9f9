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
//   window_probe alert SECONDS  prints "listening", then "alert NAME: DESCRIPTION" of the first
//                               alert (EVENT_SYSTEM_ALERT) from the main window's process
//   window_probe unichar CODES  sends WM_UNICHAR with each of the comma-separated hexadecimal
//                               code points to the main window's value box; prints the answers
// Exits 1 when no such window is found or a control is out of place.

#include "flags/flag_model.h"
#include "form/main_form_layout.h"

#include <windows.h>

#include <initguid.h>

#include <oleacc.h>

#include <cstdio>
#include <cwchar>
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
        const wchar_t *className = c.kind == layout::Kind::Button ? L"Button"
            : c.kind == layout::Kind::TextBox                     ? L"Edit"
                                                                  : L"Static";
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

} // namespace

int wmain(int argc, wchar_t *argv[])
{
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
    if (std::wcscmp(argv[1], L"describe") == 0 || std::wcscmp(argv[1], L"alert") == 0)
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
    GUITHREADINFO info {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(windows.front(), nullptr), &info)
        || !info.hwndFocus)
        return 1;
    wchar_t className[64] = {}, text[8192] = {};
    GetClassNameW(info.hwndFocus, className, 64);
    // GetWindowText would give another process's edit control its creation text.
    SendMessageTimeoutW(info.hwndFocus, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(text),
        SMTO_ABORTIFHUNG, 2000, nullptr);
    print(className);
    std::putchar(':');
    print(text);
    std::putchar('\n');
    return 0;
}
