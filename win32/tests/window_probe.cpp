// Reads what a person sees of a window from another process in the same Wine session, where X
// tools see only Wine's frames: the client area and the control that has the focus.
//
//   window_probe client TITLE   one line "left top width height" (client area on the
//                               screen) per visible top-level window titled exactly TITLE
//   window_probe focus TITLE    the class and text of the control that has the focus in that
//                               window, "Button:GO"
// Exits 1 when no such window is found.

#include <windows.h>

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

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc != 3)
        return 2;
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
    GUITHREADINFO info {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(windows.front(), nullptr), &info)
        || !info.hwndFocus)
        return 1;
    wchar_t className[64] = {}, text[256] = {};
    GetClassNameW(info.hwndFocus, className, 64);
    // GetWindowText would give another process's edit control its creation text.
    SendMessageTimeoutW(info.hwndFocus, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text),
        SMTO_ABORTIFHUNG, 2000, nullptr);
    print(className);
    std::putchar(':');
    print(text);
    std::putchar('\n');
    return 0;
}
