#include "win32/clipboard.h"

#include "win32/library_entry.h"
#include "win32/wide_text.h"

#include <commctrl.h>

#include <cstring>

namespace win32 {

namespace {

constexpr int QuickTries = 5;
constexpr UINT QuickInterval = 200; // milliseconds
constexpr UINT SlowInterval = 1000;
constexpr wchar_t NoticeText[]
    = L"The total could not be put on the clipboard: another program is using it. "
      L"It will go there as soon as that program lets go.";

// The common controls, for the balloon: loaded on first use.
bool loadCommonControls()
{
    static const bool loaded = [] {
        const auto initialise = entry<decltype(InitCommonControlsEx)>(
            LoadLibraryW(L"comctl32.dll"), "InitCommonControlsEx");
        const INITCOMMONCONTROLSEX controls { sizeof controls, ICC_WIN95_CLASSES };
        return initialise && initialise(&controls);
    }();
    return loaded;
}

// The tooltip class's own procedure, under the balloon's hit test. (SetWindowSubclass would
// import the common controls at start.)
WNDPROC tooltipProcedure = nullptr;

LRESULT CALLBACK clickThrough(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCHITTEST)
        return HTTRANSPARENT;
    return CallWindowProcW(tooltipProcedure, window, message, wParam, lParam);
}

// What `read` makes of the clipboard's text up to its first NUL, which it sees in place; nothing
// while another program holds the clipboard open or it holds no text.
template <typename Result, typename Read> std::optional<Result> readText(HWND owner, Read read)
{
    if (!OpenClipboard(owner))
        return std::nullopt;
    std::optional<Result> result;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (const auto *chars = data ? static_cast<const wchar_t *>(GlobalLock(data)) : nullptr) {
        const std::wstring_view whole(chars, GlobalSize(data) / sizeof(wchar_t));
        result = read(whole.substr(0, whole.find(L'\0')));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return result;
}

} // namespace

Clipboard::~Clipboard()
{
    if (m_owner && IsWindow(m_owner))
        KillTimer(m_owner, reinterpret_cast<UINT_PTR>(this));
}

void Clipboard::attach(HWND owner, HWND noticeAt)
{
    m_owner = owner;
    m_noticeAt = noticeAt;
}

void Clipboard::put(std::string_view text)
{
    m_pending = widen(text);
    if (tryPut())
        return;
    if (m_tries == 0) {
        m_tries = 1;
        SetTimer(m_owner, reinterpret_cast<UINT_PTR>(this), QuickInterval, &onTimer);
    }
}

std::optional<std::wstring> Clipboard::settle()
{
    if (m_tries == 0 || tryPut())
        return std::nullopt;
    KillTimer(m_owner, reinterpret_cast<UINT_PTR>(this)); // tried here from now on
    hideNotice();
    const std::wstring waiting = L"Waiting for the clipboard, which another program holds, to "
                                 L"take the total "
        + m_pending + L" before the program ends.";
    showNotice(waiting.c_str());
    // Only paint messages meanwhile: the balloon and the window show, and no click or key can
    // start anything new in a window that is ending.
    const ULONGLONG end = GetTickCount64() + EndingWait;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT))
            DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_PAINT);
        if (tryPut())
            return std::nullopt;
    } while (GetTickCount64() < end);
    hideNotice();
    m_tries = 0;
    return std::move(m_pending);
}

bool Clipboard::tryPut()
{
    if (!OpenClipboard(m_owner))
        return false;
    const SIZE_T bytes = (m_pending.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (void *data = memory ? GlobalLock(memory) : nullptr) {
        std::memcpy(data, m_pending.c_str(), bytes);
        GlobalUnlock(memory);
        if (EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory))
            memory = nullptr; // the clipboard owns it now
    }
    GlobalFree(memory);
    CloseClipboard();
    m_tries = 0;
    KillTimer(m_owner, reinterpret_cast<UINT_PTR>(this));
    hideNotice(); // the balloon has said its piece
    return true;
}

void Clipboard::hideNotice()
{
    if (m_notice)
        DestroyWindow(m_notice);
    m_notice = nullptr;
}

void CALLBACK Clipboard::onTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    reinterpret_cast<Clipboard *>(id)->retry();
}

void Clipboard::retry()
{
    if (tryPut() || ++m_tries != QuickTries)
        return;
    showNotice(NoticeText);
    SetTimer(m_owner, reinterpret_cast<UINT_PTR>(this), SlowInterval, &onTimer);
}

// A balloon pointing at the middle of the value box's lower edge. It lies over the first
// descriptions: clicks go through it to them (TTF_TRANSPARENT, and a hit test that answers
// HTTRANSPARENT where the common controls do not for a tracked tool).
void Clipboard::showNotice(const wchar_t *text)
{
    m_notice = loadCommonControls() ? CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                   WS_POPUP | TTS_NOPREFIX | TTS_BALLOON | TTS_ALWAYSTIP, 0, 0, 0, 0, m_owner,
                   nullptr, nullptr, nullptr)
                                    : nullptr;
    if (!m_notice)
        return;
    TTTOOLINFOW tool {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE; // what the classic common controls know
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND | TTF_TRANSPARENT;
    tool.hwnd = m_owner;
    tool.uId = reinterpret_cast<UINT_PTR>(m_noticeAt);
    tool.lpszText = const_cast<wchar_t *>(text);
    SendMessageW(m_notice, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(m_notice, TTM_SETMAXTIPWIDTH, 0, 300);
    RECT box {};
    GetWindowRect(m_noticeAt, &box);
    SendMessageW(
        m_notice, TTM_TRACKPOSITION, 0, MAKELPARAM((box.left + box.right) / 2, box.bottom));
    SendMessageW(m_notice, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    tooltipProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_notice, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&clickThrough)));
}

std::optional<std::size_t> Clipboard::textLength(HWND owner)
{
    return readText<std::size_t>(owner, [](std::wstring_view text) { return text.size(); });
}

std::optional<std::wstring> Clipboard::text(HWND owner)
{
    return readText<std::wstring>(owner, [](std::wstring_view text) { return std::wstring(text); });
}

} // namespace win32
