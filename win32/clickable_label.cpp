#include "win32/clickable_label.h"

#include "win32/label_accessible.h"

namespace win32 {

namespace {

constexpr wchar_t ActionProperty[] = L"OrvanAction";
WNDPROC s_original = nullptr; // every STATIC has the same class procedure

LRESULT CALLBACK labelProcedure(HWND label, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(label);
        return 0;
    case WM_LBUTTONUP: {
        if (GetCapture() != label)
            return 0;
        ReleaseCapture();
        RECT inside;
        GetClientRect(label, &inside);
        const POINT at { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
        if (PtInRect(&inside, at))
            SendMessageW(GetParent(label), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(label), STN_CLICKED),
                reinterpret_cast<LPARAM>(label));
        return 0;
    }
    case WM_GETOBJECT:
        if (const LRESULT object = LabelAccessible::answer(label, wParam, lParam,
                static_cast<const wchar_t *>(GetPropW(label, ActionProperty))))
            return object;
        break;
    case WM_NCDESTROY:
        RemovePropW(label, ActionProperty);
        break;
    }
    return CallWindowProcW(s_original, label, message, wParam, lParam);
}

} // namespace

void ClickableLabel::attach(HWND label, const wchar_t *action)
{
    SetPropW(label, ActionProperty, const_cast<wchar_t *>(action));
    s_original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&labelProcedure)));
}

} // namespace win32
