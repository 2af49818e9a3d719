// Showing, enabling, activating and focusing windows, after Wine's
// show_window, enable_window, set_active_window and SetFocus.
#include "Internal.h"

#include <algorithm>

namespace winsim {
namespace detail {

namespace {

// A window the system may hand the activation to when the active one goes.
// Wine 8 hands it to a WS_EX_NOACTIVATE window too, which Windows does not.
bool CanActivate(const Window *w)
{
    return w != nullptr && (w->style & WS_VISIBLE) && !IsPureChild(w->style) &&
           !(w->style & WS_DISABLED);
}

// WM_ACTIVATEAPP to every top-level window of the thread, in Z order.
void SendActivateApp(DWORD thread, bool active, DWORD otherThread)
{
    std::vector<HWND> windows = S().topLevel;
    for (HWND window : windows) {
        Window *w = Find(window);
        if (w != nullptr && w->thread == thread)
            SendCore(window, WM_ACTIVATEAPP, active, static_cast<LPARAM>(otherThread));
    }
}

}  // namespace

void WaitForThreadOf(HWND window)
{
    Window *w = Find(window);
    if (w != nullptr && w->thread != winsim::kOwnThread)
        WakeCore(w->thread);
}

void WakeCore(DWORD thread)
{
    State &s = S();
    auto hung = std::find(s.hungThreads.begin(), s.hungThreads.end(), thread);
    if (hung == s.hungThreads.end())
        return;
    s.hungThreads.erase(hung);
    // The requests the thread was left, in the order they came.
    std::vector<std::pair<HWND, int>> mine;
    auto &pending = s.pendingShows;
    for (auto it = pending.begin(); it != pending.end();) {
        Window *w = Find(it->first);
        if (w == nullptr || w->thread == thread) {
            if (w != nullptr)
                mine.push_back(*it);
            it = pending.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto &request : mine)
        ShowCore(request.first, request.second);
}

// GetNextDlgTabItem, then GetNextDlgGroupItem, from the start of the dialog.
HWND FirstDialogControl(const Window *dialog)
{
    for (HWND child : dialog->children)
        if ((Find(child)->style & (WS_VISIBLE | WS_DISABLED | WS_TABSTOP)) ==
            (WS_VISIBLE | WS_TABSTOP))
            return child;
    for (HWND child : dialog->children)
        if ((Find(child)->style & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE)
            return child;
    return NULL;
}

HWND DialogDefaultFocus(const Window *dialog)
{
    HWND control = FirstDialogControl(dialog);
    return control ? control : dialog->handle;
}

void Activate(HWND window, bool fromSetFocus)
{
    State &s = S();
    if (s.active == window)
        return;
    Window *old = Find(s.active);
    Window *now = Find(window);
    DWORD oldThread = old != nullptr ? old->thread : 0;
    DWORD newThread = now != nullptr ? now->thread : 0;
    if (old != nullptr && old->cls->kind == ClassKind::Dialog && s.focus != NULL &&
        s.focus != old->handle && IsWithin(s.focus, old->handle))
        old->savedFocus = s.focus;
    s.active = window;
    Window *w = Find(window);
    if (w == nullptr) {
        s.focus = NULL;
        return;
    }
    if (w->cls->kind == ClassKind::Dialog) {
        // DefDlgProc puts the focus back where it was, or on the first control.
        if (w->savedFocus != NULL && Find(w->savedFocus) && IsWithin(w->savedFocus, window)) {
            s.focus = w->savedFocus;
            w->savedFocus = NULL;
        } else if (!fromSetFocus && !(s.focus != NULL && IsWithin(s.focus, window))) {
            s.focus = DialogDefaultFocus(w);
        }
    } else {
        // DefWindowProc's WM_ACTIVATE gives the window the focus.
        s.focus = window;
    }
    // The activation moved to another thread: every top-level window of
    // each is told, the one that lost it first.
    if (oldThread != newThread) {
        if (oldThread != 0)
            SendActivateApp(oldThread, false, newThread);
        if (newThread != 0)
            SendActivateApp(newThread, true, oldThread);
    }
}

void ActivateOther(HWND window)
{
    Window *w = Find(window);
    HWND to = NULL;
    if (w != nullptr && (w->style & WS_POPUP) && w->owner != NULL) {
        Window *owner = Root(Find(w->owner));
        if (CanActivate(owner))
            to = owner->handle;
    }
    const std::vector<HWND> &list = S().topLevel;
    if (to == NULL) {
        bool after = false;
        for (HWND top : list) {
            if (after && CanActivate(Find(top))) {
                to = top;
                break;
            }
            after = after || top == window;
        }
    }
    if (to == NULL) {
        for (HWND top : list) {
            if (top == window)
                break;
            if (CanActivate(Find(top))) {
                to = top;
                break;
            }
        }
    }
    Activate(to, false);
}

HWND SetFocusCore(HWND window, bool *ok)
{
    State &s = S();
    *ok = false;
    if (window == NULL) {
        HWND previous = s.focus;
        s.focus = NULL;
        *ok = true;
        return previous;
    }
    Window *w = Find(window);
    if (w == nullptr)
        return NULL;
    for (Window *a = w; a != nullptr; a = Find(a->parent))
        if (a->style & (WS_DISABLED | WS_MINIMIZE))
            return NULL;
    HWND root = Root(w)->handle;
    if (s.active != root) {
        Activate(root, true);
        if (Find(window) == nullptr || s.active != root)
            return NULL;
    }
    HWND previous = s.focus;
    s.focus = window;
    *ok = true;
    return previous;
}

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

namespace {

// Where a maximized child window goes: its frame around the parent's whole
// client area, as Wine's default and MDI minimum-maximum information say.
RECT MaximizedRect(const Window *w)
{
    const Window *parent = Find(w->parent);
    RECT rect = {0, 0, parent->client.right - parent->client.left,
                 parent->client.bottom - parent->client.top};
    AdjustRect(&rect, w->style, false, w->exStyle);
    return rect;
}

// A minimized child window's icon goes to the first place along the bottom
// of the parent's client area, from the left, that the icon of no shown
// minimized sibling takes. (Wine starts a row above once the bottom is full,
// which takes more icons than any test makes.)
RECT IconRect(const Window *w)
{
    const Window *parent = Find(w->parent);
    int width = Metric(SM_CXMINIMIZED);
    int height = Metric(SM_CYMINIMIZED);
    int bottom = parent->client.bottom - parent->client.top;
    for (RECT icon = {0, bottom - height, width, bottom};;
         icon.left += width, icon.right += width) {
        bool taken = false;
        for (HWND sibling : parent->children) {
            const Window *s = Find(sibling);
            RECT r = s->rect;
            taken |= s != w &&
                     (s->style & (WS_VISIBLE | WS_MINIMIZE)) == (WS_VISIBLE | WS_MINIMIZE) &&
                     r.left < icon.right && icon.left < r.right && r.top < icon.bottom &&
                     icon.top < r.bottom;
        }
        if (!taken)
            return icon;
    }
}

// Wine's window_min_maximize for a child window: sets the state bits and
// the rectangle that goes with them, and answers the flags for SetPosCore.
UINT MinMaximize(Window *w, int command, RECT *rect)
{
    DWORD old = w->style;
    if (!(old & (WS_MINIMIZE | WS_MAXIMIZE)))
        w->normalRect = w->rect;
    switch (command) {
    case SW_MINIMIZE:
        w->restoreToMaximized = (old & WS_MAXIMIZE) != 0;
        w->style = (old | WS_MINIMIZE) & ~static_cast<DWORD>(WS_MAXIMIZE);
        *rect = IconRect(w);
        return (old & WS_MINIMIZE) ? 0 : kStateChanged;
    case SW_MAXIMIZE:
        if ((old & (WS_MAXIMIZE | WS_VISIBLE)) == (WS_MAXIMIZE | WS_VISIBLE))
            return SWP_NOSIZE | SWP_NOMOVE;
        *rect = MaximizedRect(w);
        w->style = (old | WS_MAXIMIZE) & ~static_cast<DWORD>(WS_MINIMIZE);
        return (old & WS_MAXIMIZE) ? 0 : kStateChanged;
    default:  // SW_RESTORE, SW_SHOWNORMAL, SW_SHOWNOACTIVATE
        if (command == SW_SHOWNOACTIVATE)
            w->restoreToMaximized = false;
        w->style = old & ~static_cast<DWORD>(WS_MINIMIZE | WS_MAXIMIZE);
        if ((old & WS_MINIMIZE) && w->restoreToMaximized) {
            *rect = MaximizedRect(w);
            w->style |= WS_MAXIMIZE;
        } else {
            *rect = w->normalRect;
        }
        return kStateChanged;
    }
}

}  // namespace

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
    State &s = S();
    if (!show) {
        if (s.active == window)
            ActivateOther(window);
        if (s.focus == window)
            s.focus = w->parent;
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

BOOL WINAPI UpdateWindow(HWND window)
{
    ApiCall call(Fn::UpdateWindow);
    BOOL result = !call.Failed() && Find(window) != nullptr;
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

HWND WINAPI GetActiveWindow(void)
{
    ApiCall call(Fn::GetActiveWindow);
    // Only a window of the calling thread is its active window.
    Window *active = Find(S().active);
    HWND result = call.Failed() || active == nullptr || active->thread != winsim::kOwnThread
                      ? NULL
                      : active->handle;
    call.Log({}, HandleText(result));
    return result;
}

// The active window of whatever thread has it.
HWND WINAPI GetForegroundWindow(void)
{
    ApiCall call(Fn::GetForegroundWindow);
    HWND result = call.Failed() ? NULL : S().active;
    call.Log({}, HandleText(result));
    return result;
}

BOOL WINAPI SetForegroundWindow(HWND window)
{
    ApiCall call(Fn::SetForegroundWindow);
    Window *w = Find(window);
    BOOL result = !call.Failed() && w != nullptr && !IsPureChild(w->style);
    if (result)
        Activate(window, false);
    call.Log({HandleText(window)}, Dec(result));
    return result;
}

HWND WINAPI SetActiveWindow(HWND window)
{
    ApiCall call(Fn::SetActiveWindow);
    HWND result = NULL;
    Window *w = Find(window);
    if (!call.Failed() && (window == NULL || w != nullptr)) {
        result = S().active;
        // A child window cannot be active; the call changes nothing then.
        if (w == nullptr || !IsPureChild(w->style))
            Activate(window, false);
    }
    call.Log({HandleText(window)}, HandleText(result));
    return result;
}

HWND WINAPI GetFocus(void)
{
    ApiCall call(Fn::GetFocus);
    HWND result = call.Failed() ? NULL : S().focus;
    call.Log({}, HandleText(result));
    return result;
}

HWND WINAPI SetFocus(HWND window)
{
    ApiCall call(Fn::SetFocus);
    HWND result = NULL;
    bool ok = false;
    if (!call.Failed())
        result = SetFocusCore(window, &ok);
    call.Log({HandleText(window)}, HandleText(result));
    return result;
}
