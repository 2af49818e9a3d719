// "Kwzr-HideBackground" and "Kwzr-ShowBackground": one full-screen window of
// the plug-in's own, in the desktop colour, over everything else. It
// overhangs the screen by 3 pixels left and right and 2 at the top and bottom.
// It is created disabled, so it takes no input.
#include "Plugin.h"

static const char kCoverClassName[] = "Kwzr-HideBackground";
static const char kCoverTitle[] = "Background (Loomvane)";

void DoHideBackground(HostHandle result)
{
    if (!gPluginState.coverAbsent || !gPluginState.coverClassRegistered) {
        SetResultFlag(result, false);
        return;
    }
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    gPluginState.coverWindow =
        CreateWindowExA(0, kCoverClassName, kCoverTitle, WS_DISABLED | WS_CAPTION, -3, -2,
                        width + 6, height + 4, NULL, NULL, gFMExternCallPtr->instanceID, NULL);
    // A failed creation leaves the state as it was, so a later call tries again.
    if (!IsWindow(gPluginState.coverWindow)) {
        SetResultFlag(result, false);
        return;
    }
    ShowWindow(gPluginState.coverWindow, SW_SHOW);
    gPluginState.coverAbsent = false;
    SetResultFlag(result, true);
}

bool DestroyCoverWindow(void)
{
    HWND cover = gPluginState.coverWindow;
    if (IsWindow(cover) && !DestroyWindow(cover) && IsWindow(cover))
        return false;
    gPluginState.coverAbsent = true;
    return true;
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
