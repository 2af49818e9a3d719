// Messages: sending to a window's procedure, the posted-message queue, and the
// default window procedures (DefFrameProcA behaves as DefWindowProcA; the MDI
// client's and DefMDIChildProcA's own parts are in Mdi.cpp).
#include "Internal.h"

#include <algorithm>

namespace winsim {
namespace detail {

LRESULT SendCore(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window *w = Find(window);
    if (w == nullptr)
        return 0;
    if (w->cls->kind == ClassKind::Dialog)
        return DialogDispatch(window, message, wParam, lParam);
    if (w->proc != nullptr)
        return w->proc(window, message, wParam, lParam);
    return DefProc(window, message, wParam, lParam);
}

namespace {

// What an edit control does beyond the default procedure: its limit, and a
// typed character, which the limit stops (text set with WM_SETTEXT is not
// limited). Of the selection only "all of it" is modelled: a character typed
// then replaces the text; otherwise it is added at the end.
LRESULT EditProc(Window *w, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case EM_LIMITTEXT:
        w->textLimit = wParam == 0 ? kDefaultTextLimit : static_cast<UINT>(wParam);
        return 0;
    case EM_SETSEL:
        w->allSelected = wParam == 0 && lParam == -1;
        return 0;
    case WM_CHAR:
        // Control characters and DEL type nothing.
        if (wParam < 0x20 || wParam == 0x7F)
            return 0;
        if (w->allSelected)
            w->title.clear();
        w->allSelected = false;
        if (w->title.size() < w->textLimit)
            w->title += static_cast<char>(wParam);
        return 0;
    default:
        return 0;
    }
}

}  // namespace

LRESULT DefProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window *w = Find(window);
    if (w == nullptr)
        return 0;
    LRESULT handled = 0;
    if (w->mdiClient && MdiClientMessage(w, message, wParam, lParam, &handled))
        return handled;
    switch (message) {
    case WM_NCCREATE:
        // The window's text comes from here, as on Windows.
        if (lParam != 0)
            SetTextCore(w, reinterpret_cast<const CreateStruct *>(lParam)->lpszName);
        return TRUE;
    case WM_CLOSE:
        DestroyCore(window);
        return 0;
    case WM_SETTEXT:
        SetTextCore(w, reinterpret_cast<LPCSTR>(lParam));
        w->allSelected = false;
        return TRUE;
    case WM_GETTEXT:
        return CopyOut(w->title, reinterpret_cast<LPSTR>(lParam), static_cast<int>(wParam));
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendCore(window, WM_CLOSE, 0, 0);
        return 0;
    default:
        if (w->cls->kind == ClassKind::Edit)
            return EditProc(w, message, wParam, lParam);
        return 0;
    }
}

bool PostCore(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window != NULL && Find(window) == nullptr)
        return false;
    MSG msg = {};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    S().queue.push_back(msg);
    return true;
}

void PurgeMessages(HWND window)
{
    auto &queue = S().queue;
    queue.erase(std::remove_if(queue.begin(), queue.end(),
                               [window](const MSG &m) { return m.hwnd == window; }),
                queue.end());
}

}  // namespace detail
}  // namespace winsim

using namespace winsim::detail;

namespace {

LRESULT Default(Fn name, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                std::initializer_list<LogValue> args, WNDPROC procedure = DefProc)
{
    ApiCall call(name);
    LRESULT result = call.Failed() ? 0 : procedure(window, message, wParam, lParam);
    call.Log(args, {Dec(message), Dec(static_cast<long long>(wParam)), Dec(lParam)}, Dec(result));
    return result;
}

bool Matches(const MSG &m, HWND window, UINT first, UINT last)
{
    if (window == reinterpret_cast<HWND>(-1)) {
        if (m.hwnd != NULL)
            return false;
    } else if (window != NULL && m.hwnd != window && !IsWithin(m.hwnd, window)) {
        return false;
    }
    return (first == 0 && last == 0) || (m.message >= first && m.message <= last);
}

}  // namespace

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Default(Fn::DefWindowProcA, window, message, wParam, lParam, {HandleText(window)});
}

LRESULT WINAPI DefFrameProcA(HWND window, HWND mdiClient, UINT message, WPARAM wParam,
                             LPARAM lParam)
{
    return Default(Fn::DefFrameProcA, window, message, wParam, lParam,
                   {HandleText(window), HandleText(mdiClient)});
}

LRESULT WINAPI DefMDIChildProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Default(Fn::DefMDIChildProcA, window, message, wParam, lParam, {HandleText(window)},
                   MdiChildProc);
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ApiCall call(Fn::SendMessageA);
    LRESULT result = 0;
    if (!call.Failed()) {
        WaitForThreadOf(window);
        result = SendCore(window, message, wParam, lParam);
    }
    call.Log({HandleText(window), Dec(message), Dec(static_cast<long long>(wParam)), Dec(lParam)},
             Dec(result));
    return result;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ApiCall call(Fn::PostMessageA);
    BOOL result = !call.Failed() && PostCore(window, message, wParam, lParam);
    call.Log({HandleText(window), Dec(message), Dec(static_cast<long long>(wParam)), Dec(lParam)},
             Dec(result));
    return result;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT first, UINT last, UINT remove)
{
    ApiCall call(Fn::PeekMessageA);
    BOOL result = FALSE;
    auto &queue = S().queue;
    if (!call.Failed() && msg != nullptr) {
        for (auto it = queue.begin(); it != queue.end(); ++it) {
            if (!Matches(*it, window, first, last))
                continue;
            *msg = *it;
            if (remove & PM_REMOVE)
                queue.erase(it);
            result = TRUE;
            break;
        }
    }
    call.Log({Buffer(msg), HandleText(window), Dec(first), Dec(last), Hex(remove)}, Dec(result));
    return result;
}

BOOL WINAPI TranslateMessage(const MSG *msg)
{
    ApiCall call(Fn::TranslateMessage);
    // There is no keyboard to translate; a key message still answers TRUE.
    BOOL result = !call.Failed() && msg != nullptr && msg->message == WM_KEYDOWN;
    call.Log({Buffer(msg)}, Dec(result));
    return result;
}

LRESULT WINAPI DispatchMessageA(const MSG *msg)
{
    ApiCall call(Fn::DispatchMessageA);
    LRESULT result = 0;
    if (!call.Failed() && msg != nullptr && msg->hwnd != NULL)
        result = SendCore(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    call.Log({Buffer(msg)}, Dec(result));
    return result;
}
