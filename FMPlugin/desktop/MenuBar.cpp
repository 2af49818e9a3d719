// "Kwzr-HideMenuBar" and "Kwzr-ShowMenuBar": detach the application window's
// menu bar and attach it again. The plug-in holds the detached menu and the
// window it came from; each command works only from its own starting state,
// and the menu goes back only to the window it came from.
#include "Targeting.h"

// Field 1 names the application window by its code; no document is sought.
static HWND FindMenuBarWindow(HostHandle parameter)
{
    char className[kClassNameBufferSize];
    if (!ReadApplicationClassName(parameter, 1, className))
        return NULL;
    return FindApplicationWindow(className);
}

// Nothing is held any more: the menu bar counts as shown.
static void ForgetDetachedMenu(void)
{
    gPluginState.menuBarShown = true;
    gPluginState.savedMenu = NULL;
    gPluginState.menuSource = NULL;
}

// The window the menu came from and the menu itself both still exist (a
// window that had no menu bar gave none, and gets none back).
static bool DetachedMenuStillThere(void)
{
    return IsWindow(gPluginState.menuSource) &&
           (gPluginState.savedMenu == NULL || IsMenu(gPluginState.savedMenu));
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
    gPluginState.menuSource = application;
    gPluginState.menuBarShown = false;
    SetResultFlag(result, true);
}

void DoShowMenuBar(HostHandle parameter, HostHandle result)
{
    if (gPluginState.menuBarShown) {
        SetResultFlag(result, false);
        return;
    }
    // The window or the menu was destroyed meanwhile: nothing to put back.
    if (!DetachedMenuStillThere()) {
        ForgetDetachedMenu();
        SetResultFlag(result, false);
        return;
    }
    // Another window than the menu's own is refused and nothing changes, so
    // that a show naming the right window can still put the menu back.
    HWND application = FindMenuBarWindow(parameter);
    if (application == NULL || application != gPluginState.menuSource) {
        SetResultFlag(result, false);
        return;
    }
    if (!SetMenu(application, gPluginState.savedMenu)) {
        SetResultFlag(result, false);
        return;
    }
    gPluginState.menuBarShown = true;  // the saved menu and its window are kept
    SetResultFlag(result, true);
}

// A window that has a menu bar again (the host gave it one) keeps it.
void GiveBackMenuBar(void)
{
    if (gPluginState.menuBarShown)
        return;
    if (!DetachedMenuStillThere()) {
        ForgetDetachedMenu();
        return;
    }
    HWND source = gPluginState.menuSource;
    if (gPluginState.savedMenu == NULL || GetMenu(source) != NULL ||
        SetMenu(source, gPluginState.savedMenu))
        gPluginState.menuBarShown = true;
}
