#pragma once

// The clipboard, where each running total goes: the one place that opens, empties and sets it.
//
// Another program may hold the clipboard open for a moment (clipboard managers and remote
// desktop tools do). The total then waits and is tried again by a timer, always the latest
// one: five tries over a second; should they all fail, a balloon under the value box tells the
// user that the clipboard still holds an older content, and the total keeps being tried once a
// second until it lands, which takes the balloon away. The balloon is a tooltip of the common
// controls, loaded only then, so that they cost the program's start nothing; clicks pass
// through it to the controls beneath.
//
// When the program is asked to end with a total still waiting, that total gets a few more
// seconds while the balloon says that the program waits for the clipboard; should it still not
// land, the window tells the user which total the clipboard lacks.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace win32 {

class Clipboard
{
public:
    Clipboard() = default;
    ~Clipboard();
    Clipboard(const Clipboard &) = delete;
    Clipboard &operator=(const Clipboard &) = delete;

    // `owner` owns the content put on the clipboard and the timer; the balloon points at
    // `noticeAt`.
    void attach(HWND owner, HWND noticeAt);
    void put(std::string_view text);
    // The program is asked to end: a total still waiting gets up to EndingWait milliseconds to
    // land, while the balloon says so. Returns the total that did not reach the clipboard, if
    // any; nothing waits afterwards. Call it while the owner is still shown.
    std::optional<std::wstring> settle();
    static constexpr unsigned EndingWait = 5000;

    // How many characters of text the clipboard holds, up to its first NUL; nothing while
    // another program holds it open or it holds no text.
    static std::optional<std::size_t> textLength(HWND owner);
    // The clipboard's text up to its first NUL, read once its length has been found fine.
    static std::optional<std::wstring> text(HWND owner);

private:
    bool tryPut();
    void retry();
    static void CALLBACK onTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
    void showNotice(const wchar_t *text);
    void hideNotice();

    HWND m_owner = nullptr;
    HWND m_noticeAt = nullptr;
    HWND m_notice = nullptr;
    std::wstring m_pending;
    int m_tries = 0; // failed tries since the clipboard was last written; 0: nothing waits
};

} // namespace win32
