// "Kwzr-HideBackground" and "Kwzr-ShowBackground": one window of the
// plug-in's own, in the desktop colour, over every monitor. It overhangs the
// virtual screen by 3 pixels left and right and 2 at the top and bottom. It
// is created disabled, so it takes no input, and it is shown without
// activation directly beneath the host: the host stays in front, active and
// with the keyboard focus, while the desktop and the other programs' windows
// behind it are hidden.
#include "Plugin.h"

static const char kCoverClassName[] = LOOMVANE_COVER_CLASS;
static const char kCoverTitle[] = LOOMVANE_COVER_TITLE;

LRESULT CALLBACK BngdWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
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

// The top-level window of whatever is active on the host's thread (a
// document window's frame, a dialog the host owns): the root of its owners.
// Null when nothing is active on this thread.
static HWND HostTopLevelWindow(void)
{
    HWND active = GetActiveWindow();
    return active != NULL ? GetAncestor(active, GA_ROOTOWNER) : NULL;
}

void DoHideBackground(HostHandle result)
{
    if (!gPluginState.coverAbsent || !gPluginState.coverClassRegistered) {
        SetResultFlag(result, false);
        return;
    }
    int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    HWND cover = CreateWindowExA(0, kCoverClassName, kCoverTitle, WS_DISABLED | WS_CAPTION,
                                 left - 3, top - 2, width + 6, height + 4, NULL, NULL,
                                 gFMExternCallPtr->instanceID, NULL);
    gPluginState.coverWindow = cover;
    // A failed creation leaves the state as it was, so a later call tries again.
    if (!IsWindow(cover)) {
        SetResultFlag(result, false);
        return;
    }
    // Under the host's window, or under everything when no window of the
    // host is active. Showing it through SetWindowPos with SWP_NOACTIVATE
    // places and shows it in one step, never in front of the host.
    HWND host = HostTopLevelWindow();
    BOOL shown = SetWindowPos(cover, host != NULL ? host : HWND_BOTTOM, 0, 0, 0, 0,
                              SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
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
