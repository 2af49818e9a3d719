// Showing and enabling windows, after Wine's show_window and enable_window,
// and the questions of a window's state: visible, enabled, maximized,
// minimized.
#include "Internal.h"

namespace winsim {
namespace detail {

bool EnableCore(HWND window, bool enable)
{
    Window *w = Find(window);
    bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        w->style &= ~static_cast<DWORD>(WS_DISABLED);
        SendCore(window, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        w->style |= WS_DISABLED;
        // A disabled window cannot keep the focus.
        if (S().focus == window)
            S().focus = NULL;
        SendCore(window, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

// After Wine's show_window. A child window is minimized, maximized and
// restored; a top-level window is not (those commands show it at its normal
// place, with or without activation).
BOOL ShowCore(HWND window, int command)
{
    Window *w = Find(window);
    if (w == nullptr)
        return FALSE;
    bool wasVisible = (w->style & WS_VISIBLE) != 0;
    bool child = (w->style & WS_CHILD) != 0;
    bool show = true;
    bool plain = false;  // a command that only shows the window
    UINT flags = 0;
    RECT placed = {0, 0, 0, 0};
    switch (command) {
    case SW_HIDE:
        if (!wasVisible)
            return FALSE;
        show = false;
        flags = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        if (child)
            flags |= SWP_NOACTIVATE | SWP_NOZORDER;
        break;
    case SW_SHOWNA:
        flags = SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        if (child)
            flags |= SWP_NOZORDER;
        break;
    case SW_SHOW:
        if (wasVisible)
            return TRUE;
        flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        if (child)
            flags |= SWP_NOACTIVATE | SWP_NOZORDER;
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        flags = SWP_NOACTIVATE | SWP_NOZORDER;
        [[fallthrough]];
    case SW_SHOWMINIMIZED:
        if (!child) {
            plain = true;
        } else {
            if ((w->style & WS_MINIMIZE) && wasVisible)
                return TRUE;
            flags |= SWP_SHOWWINDOW | SWP_FRAMECHANGED | MinMaximize(w, SW_MINIMIZE, &placed);
        }
        break;
    case SW_SHOWMAXIMIZED:
        if (!child) {
            plain = true;
        } else {
            if ((w->style & WS_MAXIMIZE) && wasVisible)
                return TRUE;
            flags = SWP_FRAMECHANGED | (wasVisible ? 0 : SWP_SHOWWINDOW) |
                    MinMaximize(w, SW_MAXIMIZE, &placed);
        }
        break;
    case SW_SHOWNOACTIVATE:
        flags = SWP_NOACTIVATE | SWP_NOZORDER;
        [[fallthrough]];
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case 10:  // SW_SHOWDEFAULT
        if (child && (w->style & (WS_MINIMIZE | WS_MAXIMIZE)))
            flags |= SWP_SHOWWINDOW | SWP_FRAMECHANGED | MinMaximize(w, command, &placed);
        else
            plain = true;
        break;
    default:
        return wasVisible;
    }
    if (plain) {
        // Shown at its normal place; a child window is neither activated
        // nor raised.
        if (wasVisible)
            return TRUE;
        flags |= SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        if (child)
            flags |= SWP_NOACTIVATE | SWP_NOZORDER;
    }
    bool stateChanged = (flags & kStateChanged) != 0;
    if ((show != wasVisible || command == SW_SHOWNA) && command != SW_SHOWMAXIMIZED &&
        !stateChanged) {
        SendCore(window, WM_SHOWWINDOW, show, 0);
        if ((w = Find(window)) == nullptr)
            return wasVisible;
    }
    Window *parent = Find(w->parent);
    if (parent != nullptr && !VisibleChain(parent) && !stateChanged) {
        // Under a hidden parent only the style bit changes.
        if (show)
            w->style |= WS_VISIBLE;
        else
            w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    } else {
        SetPosCore(window, HWND_TOP, placed.left, placed.top, placed.right - placed.left,
                   placed.bottom - placed.top, flags);
    }
    if ((w = Find(window)) == nullptr)
        return wasVisible;
    if (!show) {
        // Under a hidden parent nothing else moved the focus.
        if (S().focus == window)
            S().focus = w->parent;
        return wasVisible;
    }
    if (w->needSize) {
        w->needSize = false;
        RECT c = w->client;
        SendCore(window, WM_SIZE, 0, MAKELPARAM(c.right - c.left, c.bottom - c.top));
        SendCore(window, WM_MOVE, 0, MAKELPARAM(c.left, c.top));
    }
    return wasVisible;
}

}  // namespace detail
}  // namespace winsim

using namespace winsim::detail;

BOOL WINAPI ShowWindow(HWND window, int command)
{
    ApiCall call(Fn::ShowWindow);
    BOOL result = FALSE;
    if (!call.Failed()) {
        WaitForThreadOf(window);
        result = ShowCore(window, command);
    }
    call.Log({HandleText(window), Dec(command)}, Dec(result));
    return result;
}

// On a window of the calling thread it acts at once and answers as
// ShowWindow; for another thread's window the request is posted, and the
// answer is whether it was.
BOOL WINAPI ShowWindowAsync(HWND window, int command)
{
    ApiCall call(Fn::ShowWindowAsync);
    BOOL result = FALSE;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr) {
        if (w->thread == winsim::kOwnThread) {
            result = ShowCore(window, command);
        } else {
            if (winsim::ThreadHung(w->thread))
                S().pendingShows.emplace_back(window, command);
            else
                ShowCore(window, command);
            result = TRUE;
        }
    }
    call.Log({HandleText(window), Dec(command)}, Dec(result));
    return result;
}

namespace {

// IsZoomed and IsIconic: whether the window exists with the state's bit.
BOOL HasStateBit(Fn function, HWND window, DWORD bit)
{
    ApiCall call(function);
    Window *w = Find(window);
    BOOL result = !call.Failed() && w != nullptr && (w->style & bit);
    call.Log({HandleText(window)}, Dec(result));
    return result;
}

}  // namespace

BOOL WINAPI IsZoomed(HWND window)
{
    return HasStateBit(Fn::IsZoomed, window, WS_MAXIMIZE);
}

BOOL WINAPI IsIconic(HWND window)
{
    return HasStateBit(Fn::IsIconic, window, WS_MINIMIZE);
}

// Nothing is painted; Wine answers TRUE even for a handle that is no window.
BOOL WINAPI UpdateWindow(HWND window)
{
    ApiCall call(Fn::UpdateWindow);
    BOOL result = !call.Failed();
    call.Log({HandleText(window)}, Dec(result));
    return result;
}

BOOL WINAPI IsWindowVisible(HWND window)
{
    ApiCall call(Fn::IsWindowVisible);
    Window *w = Find(window);
    BOOL result = !call.Failed() && w != nullptr && VisibleChain(w);
    call.Log({HandleText(window)}, Dec(result));
    return result;
}

BOOL WINAPI IsWindowEnabled(HWND window)
{
    ApiCall call(Fn::IsWindowEnabled);
    Window *w = Find(window);
    BOOL result = !call.Failed() && w != nullptr && !(w->style & WS_DISABLED);
    call.Log({HandleText(window)}, Dec(result));
    return result;
}

BOOL WINAPI EnableWindow(HWND window, BOOL enable)
{
    ApiCall call(Fn::EnableWindow);
    BOOL result = FALSE;
    if (!call.Failed() && Find(window) != nullptr)
        result = EnableCore(window, enable != FALSE) ? TRUE : FALSE;
    call.Log({HandleText(window), Dec(enable)}, Dec(result));
    return result;
}
