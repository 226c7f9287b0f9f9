#include "win32/label_accessible.h"

#include "win32/library_entry.h"

namespace win32 {

namespace {

// The object travels to the assistive program through COM, which the thread joins once, for
// the rest of its life, when the first label is asked.
bool comStarted()
{
    static const bool started = [] {
        const auto initialize
            = entry<decltype(CoInitializeEx)>(LoadLibraryW(L"ole32.dll"), "CoInitializeEx");
        return initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    }();
    return started;
}

} // namespace

LRESULT LabelAccessible::answer(HWND label, WPARAM flags, LPARAM object, const wchar_t *action)
{
    if (static_cast<LONG>(object) != OBJID_CLIENT || !comStarted())
        return 0;
    static const HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
    const auto createStandard
        = entry<decltype(CreateStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject");
    const auto result = entry<decltype(LresultFromObject)>(oleacc, "LresultFromObject");
    IAccessible *standard = nullptr;
    if (!createStandard || !result
        || FAILED(createStandard(
            label, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void **>(&standard))))
        return 0;
    auto *accessible = new LabelAccessible(label, standard, action);
    const LRESULT answer = result(IID_IAccessible, flags, accessible);
    accessible->Release(); // LresultFromObject holds its own reference while it is needed
    return answer < 0 ? 0 : answer;
}

HRESULT LabelAccessible::QueryInterface(REFIID id, void **out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch)
        || IsEqualIID(id, IID_IAccessible)) {
        *out = static_cast<IAccessible *>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG LabelAccessible::Release()
{
    const ULONG left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT LabelAccessible::get_accDefaultAction(VARIANT child, BSTR *action)
{
    if (!isSelf(child))
        return m_standard->get_accDefaultAction(child, action);
    // oleaut32 is loaded for this, as ole32 and oleacc are, not with the program.
    static const auto allocate
        = entry<decltype(SysAllocString)>(LoadLibraryW(L"oleaut32.dll"), "SysAllocString");
    *action = allocate ? allocate(m_action) : nullptr;
    return *action ? S_OK : E_OUTOFMEMORY;
}

HRESULT LabelAccessible::accDoDefaultAction(VARIANT child)
{
    if (!isSelf(child))
        return m_standard->accDoDefaultAction(child);
    // Posted: the caller has its answer before the window acts, as after a real click.
    PostMessageW(GetParent(m_label), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_label), STN_CLICKED),
        reinterpret_cast<LPARAM>(m_label));
    return S_OK;
}

} // namespace win32
