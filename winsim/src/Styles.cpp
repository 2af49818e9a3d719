// The window words (style, extended style, id) and the window text. Style
// changes keep Wine's rules: a top-level window keeps WS_CLIPSIBLINGS, the
// window edge follows the frame, WS_EX_TOPMOST changes only through
// SetWindowPos, and the client area is not recalculated.
#include "Internal.h"

namespace winsim {
namespace detail {

void SetTextCore(Window *window, LPCSTR text)
{
    window->title = (text != nullptr && !IS_INTRESOURCE(text)) ? text : "";
}

}  // namespace detail
}  // namespace winsim

using namespace winsim::detail;

namespace {

bool ReadLong(const Window *w, int index, LONG *value)
{
    switch (index) {
    case GWL_STYLE:
        *value = static_cast<LONG>(w->style);
        return true;
    case GWL_EXSTYLE:
        *value = static_cast<LONG>(w->exStyle);
        return true;
    case GWL_ID:
        *value = static_cast<LONG>(w->menuOrId);
        return true;
    default:
        return false;
    }
}

void WriteLong(Window *w, int index, LONG value)
{
    DWORD bits = static_cast<DWORD>(value);
    switch (index) {
    case GWL_STYLE:
        if (w->parent == NULL)
            bits |= WS_CLIPSIBLINGS;
        w->style = bits;
        w->exStyle = FixExStyle(w->style, w->exStyle);
        break;
    case GWL_EXSTYLE:
        bits = (bits & ~static_cast<DWORD>(WS_EX_TOPMOST)) | (w->exStyle & WS_EX_TOPMOST);
        w->exStyle = FixExStyle(w->style, bits);
        break;
    case GWL_ID:
        w->menuOrId = static_cast<UINT_PTR>(static_cast<ULONG>(value));
        break;
    }
}

}  // namespace

LONG WINAPI GetWindowLongA(HWND window, int index)
{
    ApiCall call(Fn::GetWindowLongA);
    LONG result = 0;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr)
        ReadLong(w, index, &result);
    call.Log({HandleText(window), Dec(index)}, Hex(static_cast<DWORD>(result)));
    return result;
}

LONG WINAPI SetWindowLongA(HWND window, int index, LONG value)
{
    ApiCall call(Fn::SetWindowLongA);
    LONG result = 0;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr && ReadLong(w, index, &result))
        WriteLong(w, index, value);
    call.Log({HandleText(window), Dec(index), Hex(static_cast<DWORD>(value))},
             Hex(static_cast<DWORD>(result)));
    return result;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND window, int index, LONG_PTR value)
{
    ApiCall call(Fn::SetWindowLongPtrA);
    LONG_PTR result = 0;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr) {
        LONG word = 0;
        if (index == GWLP_WNDPROC) {
            result = reinterpret_cast<LONG_PTR>(w->proc ? w->proc : DefWindowProcA);
            w->proc = reinterpret_cast<WNDPROC>(value);
        } else if (ReadLong(w, index, &word)) {
            result = word;
            WriteLong(w, index, static_cast<LONG>(value));
        }
    }
    call.Log({HandleText(window), Dec(index), Hex(static_cast<ULONG_PTR>(value))},
             Hex(static_cast<ULONG_PTR>(result)));
    return result;
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text)
{
    ApiCall call(Fn::SetWindowTextA);
    BOOL result = FALSE;
    if (!call.Failed() && Find(window) != nullptr)
        result = SendCore(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
    call.Log({HandleText(window), Text(text)}, Dec(result));
    return result;
}

int WINAPI GetWindowTextA(HWND window, LPSTR text, int maxCount)
{
    ApiCall call(Fn::GetWindowTextA);
    int result = 0;
    if (!call.Failed() && text != nullptr && maxCount > 0) {
        text[0] = '\0';
        if (Find(window) != nullptr)
            result = static_cast<int>(SendCore(window, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                               reinterpret_cast<LPARAM>(text)));
    }
    call.Log({HandleText(window), Buffer(text), Dec(maxCount)}, Dec(result));
    return result;
}
