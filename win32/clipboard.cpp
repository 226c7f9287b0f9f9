#include "win32/clipboard.h"

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
        HMODULE module = LoadLibraryW(L"comctl32.dll");
        const auto initialise = reinterpret_cast<BOOL(WINAPI *)(const INITCOMMONCONTROLSEX *)>(
            reinterpret_cast<void (*)()>(
                module ? GetProcAddress(module, "InitCommonControlsEx") : nullptr));
        const INITCOMMONCONTROLSEX controls { sizeof controls, ICC_WIN95_CLASSES };
        return initialise && initialise(&controls);
    }();
    return loaded;
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

void Clipboard::flush()
{
    for (int attempt = 0; m_tries > 0 && attempt < 10 && !tryPut(); ++attempt)
        Sleep(100);
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
    if (m_notice)
        DestroyWindow(m_notice); // the balloon has said its piece
    m_notice = nullptr;
    return true;
}

void CALLBACK Clipboard::onTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    reinterpret_cast<Clipboard *>(id)->retry();
}

void Clipboard::retry()
{
    if (tryPut() || ++m_tries != QuickTries)
        return;
    showNotice();
    SetTimer(m_owner, reinterpret_cast<UINT_PTR>(this), SlowInterval, &onTimer);
}

// A balloon pointing at the middle of the value box's lower edge.
void Clipboard::showNotice()
{
    m_notice = loadCommonControls() ? CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                   WS_POPUP | TTS_NOPREFIX | TTS_BALLOON | TTS_ALWAYSTIP, 0, 0, 0, 0, m_owner,
                   nullptr, nullptr, nullptr)
                                    : nullptr;
    if (!m_notice)
        return;
    TTTOOLINFOW tool {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE; // what the classic common controls know
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    tool.hwnd = m_owner;
    tool.uId = reinterpret_cast<UINT_PTR>(m_noticeAt);
    tool.lpszText = const_cast<wchar_t *>(NoticeText);
    SendMessageW(m_notice, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(m_notice, TTM_SETMAXTIPWIDTH, 0, 300);
    RECT box {};
    GetWindowRect(m_noticeAt, &box);
    SendMessageW(
        m_notice, TTM_TRACKPOSITION, 0, MAKELPARAM((box.left + box.right) / 2, box.bottom));
    SendMessageW(m_notice, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

std::optional<std::size_t> Clipboard::textLength(HWND owner)
{
    if (!OpenClipboard(owner))
        return std::nullopt;
    std::optional<std::size_t> length;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (const auto *text = data ? static_cast<const wchar_t *>(GlobalLock(data)) : nullptr) {
        const std::size_t size = GlobalSize(data) / sizeof(wchar_t);
        length = 0;
        while (*length < size && text[*length])
            ++*length;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return length;
}

std::optional<std::wstring> Clipboard::text(HWND owner)
{
    if (!OpenClipboard(owner))
        return std::nullopt;
    std::optional<std::wstring> text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (const auto *chars = data ? static_cast<const wchar_t *>(GlobalLock(data)) : nullptr) {
        const std::wstring_view whole(chars, GlobalSize(data) / sizeof(wchar_t));
        text = std::wstring(whole.substr(0, whole.find(L'\0')));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

} // namespace win32
