// Start-up and shut-down: the host's interface version, the state record,
// the stored preference text, the cover window's class, and at shut-down
// what only the plug-in could give back.
#include "Plugin.h"

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

    return RegisterCoverClass() ? kFMXStartupOK : kFMXStartupFailed;
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
    UnregisterCoverClass();
}
