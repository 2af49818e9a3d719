// Start-up and shut-down: the host's interface version, the state record,
// the stored preference text and the cover window's class.
#include "Plugin.h"

static const char kCoverClassName[] = "Kwzr-HideBackground";

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

int StartUp(int16_t extnVersion)
{
    if (extnVersion < 4 || extnVersion > 255)
        return kFMXStartupBadVersion;

    gPluginState.HostVersion = (extnVersion == 12) ? kHostGeneration3 : kHostGeneration5;
    gPluginState.ownProcess = GetCurrentProcessId();
    // A start-up that follows another without a shut-down keeps the record of
    // a detached menu bar, so that it can still be put back.
    bool menuDetached = !gPluginState.menuBarShown && gPluginState.menuSource != NULL &&
                        IsWindow(gPluginState.menuSource);
    if (!menuDetached)
        gPluginState.menuBarShown = true;
    // A start-up that follows another without a shut-down keeps track of a
    // cover window that is still shown, so that it can still be removed.
    bool coverShown = !gPluginState.coverAbsent && gPluginState.coverWindow != NULL &&
                      IsWindow(gPluginState.coverWindow);
    if (!coverShown) {
        gPluginState.coverAbsent = true;
        gPluginState.coverWindow = NULL;
    }

    if (!LoadPrefText())
        return kFMXStartupFailed;

    // A start-up that follows another without a shut-down finds the class
    // still registered by the first; registering it again would fail and
    // lose track of that registration.
    if (gPluginState.coverClassRegistered)
        return kFMXStartupOK;
    FillCoverClass();
    gPluginState.coverClassAtom = RegisterClassA(&gPluginState.coverClass);
    if (gPluginState.coverClassAtom == 0)
        return kFMXStartupFailed;
    gPluginState.coverClassRegistered = true;
    return kFMXStartupOK;
}

// The host may quit or unload the plug-in with the menu bar, the task bar or
// the cursor hidden; nothing but the plug-in could bring them back after it.
// What the commands did to document windows stays.
void ShutDown(void)
{
    if (!gPluginState.coverAbsent)
        RemoveCoverAtShutDown();
    GiveBackMenuBar();
    GiveBackTaskBar();
    GiveBackCursor();
    if (gPluginState.coverClassRegistered) {
        UnregisterClassA(kCoverClassName, gFMExternCallPtr->instanceID);
        gPluginState.coverClassRegistered = false;
    }
}
