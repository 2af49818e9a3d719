// "Kwzr-HideBackground" and "Kwzr-ShowBackground": one window of the
// plug-in's own, in the desktop colour, over every monitor. It overhangs the
// virtual screen by 3 pixels left and right and 2 at the top and bottom. It
// is created disabled, so it takes no input, and it is shown without
// activation directly beneath the host: the host stays in front, active and
// with the keyboard focus, while the desktop and the other programs' windows
// behind it are hidden. A tool window that never activates, it has no task
// bar button and no place in Alt+Tab, and the system never hands it the
// activation when the host is minimized or closed. It keeps covering: it
// follows a change of the displays, and goes back beneath the host whenever
// the user returns to the host from another program.
#include "Targeting.h"

static const char kCoverClassName[] = LOOMVANE_COVER_CLASS;
static const char kCoverTitle[] = LOOMVANE_COVER_TITLE;

// The virtual screen, every monitor, with the overhang.
static RECT CoverRect(void)
{
    RECT r;
    r.left = GetSystemMetrics(SM_XVIRTUALSCREEN) - 3;
    r.top = GetSystemMetrics(SM_YVIRTUALSCREEN) - 2;
    r.right = r.left + GetSystemMetrics(SM_CXVIRTUALSCREEN) + 6;
    r.bottom = r.top + GetSystemMetrics(SM_CYVIRTUALSCREEN) + 4;
    return r;
}

// The top-level window of whatever is active on the host's thread (a
// document window's frame, a dialog the host owns): the root of its owners.
// When nothing of the host is active (another program is in front, or the
// activation is still on its way), the host's own application window.
static HWND HostTopLevelWindow(void)
{
    HWND active = GetActiveWindow();
    if (active != NULL)
        return GetAncestor(active, GA_ROOTOWNER);
    HWND first = NULL;
    return FindOwnApplicationWindow(DefaultApplicationClassName(), &first);
}

// Directly beneath the host's window, or beneath everything when the host
// has no window; never activated.
static BOOL PlaceBeneathHost(HWND cover, UINT flags)
{
    HWND host = HostTopLevelWindow();
    if (host == cover)
        return FALSE;
    return SetWindowPos(cover, host != NULL ? host : HWND_BOTTOM, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | flags);
}

LRESULT CALLBACK BngdWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DISPLAYCHANGE: {
        // A resolution changed, or a monitor came or went: cover the new
        // virtual screen, where the cover is in the Z order.
        RECT r = CoverRect();
        SetWindowPos(window, NULL, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        return 0;
    }
    case WM_ACTIVATEAPP:
        // Sent to every top-level window of the host's thread when the host
        // becomes active again, after the host's window was brought to the
        // front: the other program's windows are no longer to show between.
        if (wParam)
            PlaceBeneathHost(window, SWP_NOOWNERZORDER);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

static void FillCoverClass(void)
{
    WNDCLASSA *wc = &gPluginState.coverClass;
    wc->style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_CLASSDC | CS_NOCLOSE;
    wc->lpfnWndProc = BngdWndProc;
    wc->cbClsExtra = 0;
    wc->cbWndExtra = 0;
    wc->hInstance = gFMExternCallPtr->instanceID;
    wc->hIcon = NULL;
    wc->hCursor = NULL;
    // A class brush may name a system colour as its index plus one.
    wc->hbrBackground = (HBRUSH)(INT_PTR)(COLOR_BACKGROUND + 1);
    wc->lpszMenuName = NULL;
    wc->lpszClassName = kCoverClassName;
}

bool RegisterCoverClass(void)
{
    // A start-up that follows another without a shut-down finds the class
    // still registered by the first; registering it again would fail and
    // lose track of that registration.
    if (gPluginState.coverClassRegistered)
        return true;
    FillCoverClass();
    gPluginState.coverClassAtom = RegisterClassA(&gPluginState.coverClass);
    if (gPluginState.coverClassAtom == 0)
        return false;
    gPluginState.coverClassRegistered = true;
    return true;
}

// The registration is forgotten whatever the platform answers: a class that
// a cover outliving its destruction keeps in use goes with the module.
void UnregisterCoverClass(void)
{
    if (!gPluginState.coverClassRegistered)
        return;
    UnregisterClassA(kCoverClassName, gFMExternCallPtr->instanceID);
    gPluginState.coverClassRegistered = false;
}

void DoHideBackground(HostHandle result)
{
    if (!gPluginState.coverAbsent || !gPluginState.coverClassRegistered) {
        SetResultFlag(result, false);
        return;
    }
    RECT r = CoverRect();
    HWND cover = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kCoverClassName, kCoverTitle,
                                 WS_DISABLED | WS_CAPTION, r.left, r.top, r.right - r.left,
                                 r.bottom - r.top, NULL, NULL, gFMExternCallPtr->instanceID, NULL);
    gPluginState.coverWindow = cover;
    // A failed creation leaves the state as it was, so a later call tries again.
    if (!IsWindow(cover)) {
        SetResultFlag(result, false);
        return;
    }
    // Placed and shown in one step, never in front of the host.
    BOOL shown = PlaceBeneathHost(cover, SWP_SHOWWINDOW);
    // A cover that could not be shown is not left about hidden.
    if (!shown && DestroyCoverWindow()) {
        SetResultFlag(result, false);
        return;
    }
    gPluginState.coverAbsent = false;
    SetResultFlag(result, shown != FALSE);
}

bool DestroyCoverWindow(void)
{
    HWND cover = gPluginState.coverWindow;
    if (IsWindow(cover) && !DestroyWindow(cover) && IsWindow(cover))
        return false;
    gPluginState.coverAbsent = true;
    return true;
}

// A cover that outlives a refused destruction must not keep a window
// procedure inside a module that is about to be unloaded: it gets the
// platform's own. It stays recorded as shown, so that a later start-up can
// still remove it.
void RemoveCoverAtShutDown(void)
{
    if (!DestroyCoverWindow())
        SetWindowLongPtrA(gPluginState.coverWindow, GWLP_WNDPROC, (LONG_PTR)DefWindowProcA);
}

void DoShowBackground(HostHandle result)
{
    if (gPluginState.coverAbsent) {
        SetResultFlag(result, false);
        return;
    }
    // A cover window that something else destroyed counts as removed; one
    // that outlives a refused destruction is still there.
    if (!DestroyCoverWindow()) {
        SetResultFlag(result, false);
        return;
    }
    SetResultFlag(result, true);
}
