#include "win32/label_accessible.h"

namespace win32 {

namespace {

HMODULE oleacc()
{
    static const HMODULE library = LoadLibraryW(L"oleacc.dll");
    return library;
}

template <typename Function> Function *function(HMODULE library, const char *name)
{
    // void (*)() converts to and from any function pointer without a warning.
    const auto generic = reinterpret_cast<void (*)()>(GetProcAddress(library, name));
    return reinterpret_cast<Function *>(generic);
}

template <typename Function> Function *oleaccFunction(const char *name)
{
    return function<Function>(oleacc(), name);
}

// The object travels to the assistive program through COM, which the thread joins once, for
// the rest of its life, when the first label is asked.
bool comStarted()
{
    static const bool started = [] {
        const auto initialize
            = function<decltype(CoInitializeEx)>(LoadLibraryW(L"ole32.dll"), "CoInitializeEx");
        return initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    }();
    return started;
}

} // namespace

LRESULT LabelAccessible::answer(HWND label, WPARAM flags, LPARAM object, const wchar_t *action)
{
    if (static_cast<LONG>(object) != OBJID_CLIENT || !comStarted())
        return 0;
    const auto createStandard
        = oleaccFunction<decltype(CreateStdAccessibleObject)>("CreateStdAccessibleObject");
    const auto result = oleaccFunction<decltype(LresultFromObject)>("LresultFromObject");
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

LabelAccessible::LabelAccessible(HWND label, IAccessible *standard, const wchar_t *action)
    : m_label(label)
    , m_standard(standard)
    , m_action(action)
{ }

LabelAccessible::~LabelAccessible()
{
    m_standard->Release();
}

bool LabelAccessible::isSelf(const VARIANT &child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
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

ULONG LabelAccessible::AddRef()
{
    return ++m_references;
}

ULONG LabelAccessible::Release()
{
    const ULONG left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT LabelAccessible::GetTypeInfoCount(UINT *count)
{
    *count = 0;
    return S_OK;
}

HRESULT LabelAccessible::GetTypeInfo(UINT, LCID, ITypeInfo **)
{
    return E_NOTIMPL;
}

HRESULT LabelAccessible::GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *)
{
    return E_NOTIMPL;
}

HRESULT LabelAccessible::Invoke(
    DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *)
{
    return E_NOTIMPL;
}

HRESULT LabelAccessible::get_accDefaultAction(VARIANT child, BSTR *action)
{
    if (!isSelf(child))
        return m_standard->get_accDefaultAction(child, action);
    // oleaut32 is loaded for this, as ole32 and oleacc are, not with the program.
    static const auto allocate
        = function<decltype(SysAllocString)>(LoadLibraryW(L"oleaut32.dll"), "SysAllocString");
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

HRESULT LabelAccessible::get_accParent(IDispatch **parent)
{
    return m_standard->get_accParent(parent);
}

HRESULT LabelAccessible::get_accChildCount(long *count)
{
    return m_standard->get_accChildCount(count);
}

HRESULT LabelAccessible::get_accChild(VARIANT child, IDispatch **object)
{
    return m_standard->get_accChild(child, object);
}

HRESULT LabelAccessible::get_accName(VARIANT child, BSTR *name)
{
    return m_standard->get_accName(child, name);
}

HRESULT LabelAccessible::get_accValue(VARIANT child, BSTR *value)
{
    return m_standard->get_accValue(child, value);
}

HRESULT LabelAccessible::get_accDescription(VARIANT child, BSTR *description)
{
    return m_standard->get_accDescription(child, description);
}

HRESULT LabelAccessible::get_accRole(VARIANT child, VARIANT *role)
{
    return m_standard->get_accRole(child, role);
}

HRESULT LabelAccessible::get_accState(VARIANT child, VARIANT *state)
{
    return m_standard->get_accState(child, state);
}

HRESULT LabelAccessible::get_accHelp(VARIANT child, BSTR *help)
{
    return m_standard->get_accHelp(child, help);
}

HRESULT LabelAccessible::get_accHelpTopic(BSTR *file, VARIANT child, long *topic)
{
    return m_standard->get_accHelpTopic(file, child, topic);
}

HRESULT LabelAccessible::get_accKeyboardShortcut(VARIANT child, BSTR *shortcut)
{
    return m_standard->get_accKeyboardShortcut(child, shortcut);
}

HRESULT LabelAccessible::get_accFocus(VARIANT *child)
{
    return m_standard->get_accFocus(child);
}

HRESULT LabelAccessible::get_accSelection(VARIANT *children)
{
    return m_standard->get_accSelection(children);
}

HRESULT LabelAccessible::accSelect(long flags, VARIANT child)
{
    return m_standard->accSelect(flags, child);
}

HRESULT LabelAccessible::accLocation(
    long *left, long *top, long *width, long *height, VARIANT child)
{
    return m_standard->accLocation(left, top, width, height, child);
}

HRESULT LabelAccessible::accNavigate(long direction, VARIANT start, VARIANT *end)
{
    return m_standard->accNavigate(direction, start, end);
}

HRESULT LabelAccessible::accHitTest(long left, long top, VARIANT *child)
{
    return m_standard->accHitTest(left, top, child);
}

HRESULT LabelAccessible::put_accName(VARIANT child, BSTR name)
{
    return m_standard->put_accName(child, name);
}

HRESULT LabelAccessible::put_accValue(VARIANT child, BSTR value)
{
    return m_standard->put_accValue(child, value);
}

} // namespace win32
