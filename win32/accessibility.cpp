#include "win32/accessibility.h"

#include "win32/library_entry.h"

// The annotation identifiers are GUIDs declared in oleacc.h; defined here, once.
#include <initguid.h>

#include <oleacc.h>

namespace win32 {

namespace {

// UI Automation's LiveSetting property, which dynamic annotation also sets on a window; from
// uiautomationclient.h, which the rest of UI Automation would come with.
DEFINE_GUID(LiveSettingProperty, 0xc12bcd8e, 0x2a8e, 0x4950, 0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d,
    0x58, 0xeb);
constexpr long Polite = 1;

VARIANT number(long value)
{
    VARIANT v {};
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

// COM's library is loaded when it is needed, not with the program: importing it would load it,
// and the libraries it needs, at every start.
HMODULE ole32()
{
    static const HMODULE library = LoadLibraryW(L"ole32.dll");
    return library;
}

} // namespace

Accessibility::~Accessibility()
{
    if (m_comStarted)
        entry<decltype(CoUninitialize)>(ole32(), "CoUninitialize")();
}

void Accessibility::describe(HWND control, std::wstring text)
{
    m_descriptions.emplace_back(control, std::move(text));
}

void Accessibility::annotate()
{
    if (m_annotated)
        return;
    m_annotated = true;
    const auto initialize = entry<decltype(CoInitializeEx)>(ole32(), "CoInitializeEx");
    const auto create = entry<decltype(CoCreateInstance)>(ole32(), "CoCreateInstance");
    if (!initialize || !create)
        return;
    m_comStarted = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    IAccPropServices *services = nullptr;
    if (FAILED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
            reinterpret_cast<void **>(&services))))
        return;
    // The annotations stay with the controls' windows; the service object may go.
    for (const auto &[control, text] : m_descriptions)
        services->SetHwndPropStr(
            control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_DESCRIPTION, text.c_str());
    // Screen readers that read MSAA's events speak an alert only from an object that is one.
    for (HWND alert : { m_alert, m_liveRegion })
        if (alert)
            services->SetHwndProp(
                alert, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_ROLE, number(ROLE_SYSTEM_ALERT));
    if (m_liveRegion)
        services->SetHwndProp(
            m_liveRegion, OBJID_CLIENT, CHILDID_SELF, LiveSettingProperty, number(Polite));
    services->Release();
}

void Accessibility::announce()
{
    // Without a listener there is nobody to tell, and nothing to annotate yet.
    if (!m_alert || !IsWinEventHookInstalled(EVENT_SYSTEM_ALERT))
        return;
    annotate();
    NotifyWinEvent(EVENT_SYSTEM_ALERT, m_alert, OBJID_CLIENT, CHILDID_SELF);
}

void Accessibility::speak()
{
    // UI Automation's screen readers hear the live region's event; those that read MSAA's
    // events, and Wine, which has no UI Automation, hear the alert.
    const bool live = IsWinEventHookInstalled(EVENT_OBJECT_LIVEREGIONCHANGED);
    const bool alert = IsWinEventHookInstalled(EVENT_SYSTEM_ALERT);
    if (!m_liveRegion || (!live && !alert))
        return;
    annotate();
    if (live)
        NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, m_liveRegion, OBJID_CLIENT, CHILDID_SELF);
    if (alert)
        NotifyWinEvent(EVENT_SYSTEM_ALERT, m_liveRegion, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace win32
