// Moving, sizing and restacking windows: SetWindowPos and the functions built
// on it. The client rectangle is recalculated only when the size changes or
// the frame is said to have changed; otherwise it moves with the window.
#include "Internal.h"

#include <algorithm>

namespace winsim {
namespace detail {

namespace {

bool IsSpecialInsertAfter(HWND after)
{
    return after == HWND_TOP || after == HWND_BOTTOM || after == HWND_TOPMOST ||
           after == HWND_NOTOPMOST;
}

void Restack(Window *w, HWND after)
{
    if (after == HWND_TOP) {
        LinkTop(w);
    } else if (after == HWND_BOTTOM) {
        // A topmost window put at the bottom is topmost no more.
        w->exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
        LinkBottom(w);
    } else if (after == HWND_TOPMOST) {
        w->exStyle |= WS_EX_TOPMOST;
        LinkTop(w);
    } else if (after == HWND_NOTOPMOST) {
        // No effect on a window that is not topmost.
        if (w->exStyle & WS_EX_TOPMOST) {
            w->exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
            LinkTop(w);
        }
    } else {
        Unlink(w);
        auto &list = Siblings(w);
        list.insert(std::find(list.begin(), list.end(), after) + 1, w->handle);
    }
}

}  // namespace

bool SetPosCore(HWND handle, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    Window *w = Find(handle);
    if (w == nullptr)
        return false;
    bool stateChanged = (flags & kStateChanged) != 0;
    flags &= ~kStateChanged;
    RECT old = w->rect;
    if (flags & SWP_NOSIZE) {
        cx = old.right - old.left;
        cy = old.bottom - old.top;
    } else {
        // DefWindowProc's WM_WINDOWPOSCHANGING, unless that is not sent.
        if (!(flags & SWP_NOSENDCHANGING))
            LimitSize(w, &cx, &cy);
        cx = std::max(cx, 0);
        cy = std::max(cy, 0);
        // A minimized window keeps the size of its icon.
        if (w->style & WS_MINIMIZE) {
            cx = Metric(SM_CXMINIMIZED);
            cy = Metric(SM_CYMINIMIZED);
        }
    }
    if (flags & SWP_NOMOVE) {
        x = old.left;
        y = old.top;
    }
    if (after == handle)
        flags |= SWP_NOZORDER;
    if (!(flags & SWP_NOZORDER) && !IsSpecialInsertAfter(after)) {
        // A window that is no sibling leaves the Z order as it is; a handle
        // that is no window at all fails the call.
        Window *a = Find(after);
        if (a == nullptr)
            return false;
        if (a->parent != w->parent)
            flags |= SWP_NOZORDER;
    }

    RECT oldClient = w->client;
    bool resized = cx != old.right - old.left || cy != old.bottom - old.top;
    w->rect = {x, y, x + cx, y + cy};
    if (resized || (flags & SWP_FRAMECHANGED)) {
        w->client = ComputeClient(w, w->rect);
    } else {
        LONG dx = x - old.left;
        LONG dy = y - old.top;
        w->client = {oldClient.left + dx, oldClient.top + dy, oldClient.right + dx,
                     oldClient.bottom + dy};
    }
    if (!(flags & SWP_NOZORDER))
        Restack(w, after);
    bool hiding = false;
    if ((flags & SWP_SHOWWINDOW) && !(w->style & WS_VISIBLE)) {
        w->style |= WS_VISIBLE;
    } else if ((flags & SWP_HIDEWINDOW) && (w->style & WS_VISIBLE)) {
        w->style &= ~static_cast<DWORD>(WS_VISIBLE);
        hiding = true;
    }
    // As in Wine's set_window_pos, a window being hidden is never activated,
    // and a child window is told that it is activated instead.
    if (!(flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW))) {
        if (!IsPureChild(w->style))
            Activate(handle, false);
        else
            SendCore(handle, WM_CHILDACTIVATE, 0, 0);
    }
    if (hiding) {
        State &s = S();
        if (s.active == handle)
            ActivateOther(handle);
        if (s.focus != NULL && IsWithin(s.focus, handle))
            s.focus = Find(handle)->parent;
    }

    w = Find(handle);
    if (w == nullptr)
        return true;
    RECT c = w->client;
    if (c.left != oldClient.left || c.top != oldClient.top)
        SendCore(handle, WM_MOVE, 0, MAKELPARAM(c.left, c.top));
    if (stateChanged || c.right - c.left != oldClient.right - oldClient.left ||
        c.bottom - c.top != oldClient.bottom - oldClient.top) {
        WPARAM type = (w->style & WS_MAXIMIZE)   ? SIZE_MAXIMIZED
                      : (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED
                                                 : SIZE_RESTORED;
        SendCore(handle, WM_SIZE, type, MAKELPARAM(c.right - c.left, c.bottom - c.top));
    }
    return true;
}

}  // namespace detail
}  // namespace winsim

using namespace winsim::detail;

BOOL WINAPI SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    ApiCall call(Fn::SetWindowPos);
    BOOL result = FALSE;
    if (!call.Failed()) {
        if (!(flags & SWP_ASYNCWINDOWPOS))
            WaitForThreadOf(window);
        result = SetPosCore(window, insertAfter, x, y, cx, cy, flags) ? TRUE : FALSE;
    }
    call.Log(
        {HandleText(window), HandleText(insertAfter), Dec(x), Dec(y), Dec(cx), Dec(cy), Hex(flags)},
        Dec(result));
    return result;
}

BOOL WINAPI MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint)
{
    ApiCall call(Fn::MoveWindow);
    BOOL result = FALSE;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW);
    if (!call.Failed())
        result = SetPosCore(window, NULL, x, y, width, height, flags) ? TRUE : FALSE;
    call.Log({HandleText(window), Dec(x), Dec(y), Dec(width), Dec(height), Dec(repaint)},
             Dec(result));
    return result;
}

BOOL WINAPI BringWindowToTop(HWND window)
{
    ApiCall call(Fn::BringWindowToTop);
    BOOL result = FALSE;
    if (!call.Failed()) {
        WaitForThreadOf(window);
        result = SetPosCore(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE) ? TRUE : FALSE;
    }
    call.Log({HandleText(window)}, Dec(result));
    return result;
}
