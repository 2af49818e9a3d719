// The active window, the foreground window and the keyboard focus, after
// Wine's set_active_window and SetFocus: a dialog gets its focus back, and
// WM_ACTIVATEAPP tells both threads when the activation changes thread.
#include "Internal.h"

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

}  // namespace detail
}  // namespace winsim

using namespace winsim::detail;

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
