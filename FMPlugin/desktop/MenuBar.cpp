// "Kwzr-HideMenuBar" and "Kwzr-ShowMenuBar": detach the application window's
// menu bar and attach it again. The plug-in holds the detached menu; each
// command works only from its own starting state.
#include "Targeting.h"

// Field 1 names the application window by its code; no document is sought.
static HWND FindMenuBarWindow(HostHandle parameter)
{
    char className[kClassNameBufferSize];
    ReadApplicationClassName(parameter, 1, className);
    return FindApplicationWindow(className);
}

void DoHideMenuBar(HostHandle parameter, HostHandle result)
{
    if (!gPluginState.menuBarShown) {
        SetResultFlag(result, false);
        return;
    }
    HWND application = FindMenuBarWindow(parameter);
    if (application == NULL) {
        SetResultFlag(result, false);
        return;
    }
    HMENU menu = GetMenu(application);
    if (!SetMenu(application, NULL)) {
        SetResultFlag(result, false);
        return;
    }
    gPluginState.savedMenu = menu;
    gPluginState.menuBarShown = false;
    SetResultFlag(result, true);
}

void DoShowMenuBar(HostHandle parameter, HostHandle result)
{
    if (gPluginState.menuBarShown) {
        SetResultFlag(result, false);
        return;
    }
    // The saved menu goes to whichever window this call names.
    HWND application = FindMenuBarWindow(parameter);
    if (application == NULL || !SetMenu(application, gPluginState.savedMenu)) {
        SetResultFlag(result, false);
        return;
    }
    gPluginState.menuBarShown = true;
    SetResultFlag(result, true);
}
