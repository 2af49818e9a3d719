// "Kwzr-HideMenuBar" and "Kwzr-ShowMenuBar": detach the application window's
// menu bar and attach it again. The plug-in holds the detached menu and the
// window it came from; each command works only from its own starting state,
// and the menu goes back only to the window it came from.
//
// While a document is maximized, the MDI client keeps that document's
// buttons in the frame's menu bar: its window menu as the first item, and
// minimize, restore and close as the last three. It puts them in when a
// document is maximized and takes them out when it no longer is, but only
// while the frame has a menu bar: a menu detached meanwhile comes back with
// the buttons of a document that is no longer maximized, or without those
// of the one that is now. Attaching it again puts that right.
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

// The MDI client's own test: the last item is its close or restore button.
static bool HoldsMdiButtons(HMENU menu)
{
    UINT last = GetMenuItemID(menu, GetMenuItemCount(menu) - 1);
    return last == SC_CLOSE || last == SC_RESTORE;
}

// Takes the buttons out as the MDI client does. The window menu is only
// removed, as it belongs to its document; the picture of the document's icon
// that the client made for that item is freed with it. A predefined menu
// bitmap is no object of its own and stays.
static void RemoveMdiButtons(HMENU menu)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    if (GetMenuItemInfoA(menu, 0, TRUE, &item) && GetObjectType(item.hbmpItem) == OBJ_BITMAP)
        DeleteObject(item.hbmpItem);
    RemoveMenu(menu, 0, MF_BYPOSITION);
    DeleteMenu(menu, SC_MINIMIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_RESTORE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND);
}

// The MDI client puts the maximized document's buttons into a frame menu
// that it is handed with WM_MDISETMENU, and takes them out again itself when
// the document is restored or another one is maximized. It ignores the menu
// that it already holds, which is the detached one: so it is handed a menu of
// one item first, which gives the menu bar its height, and then the detached
// one. The document is never restored on the way.
static bool AttachWithButtons(HWND application, HWND mdiClient, HMENU menu)
{
    HMENU passing = CreateMenu();
    if (passing != NULL && AppendMenuA(passing, MF_STRING, 0, " ")) {
        SendMessageA(mdiClient, WM_MDISETMENU, (WPARAM)passing, 0);
        SendMessageA(mdiClient, WM_MDISETMENU, (WPARAM)menu, 0);
    }
    bool attached = GetMenu(application) == menu || SetMenu(application, menu);
    if (passing != NULL) {
        // The passing menu is not left on the window, and its buttons are
        // taken out before it goes: destroying a menu destroys its pop-ups,
        // and the first one is the document's window menu.
        if (!attached)
            SetMenu(application, NULL);
        if (HoldsMdiButtons(passing))
            RemoveMdiButtons(passing);
        DestroyMenu(passing);
    }
    return attached;
}

// Attaches the menu with the buttons of the document that is maximized now
// and no others. Buttons the menu holds of a document that is no longer
// maximized are taken out first. A hidden maximized document gets none: they
// would restore and close a document that the user cannot see.
static bool AttachMenu(HWND application, HMENU menu)
{
    // A window that had no menu bar has none still: there is nothing to do.
    if (menu == NULL)
        return true;
    HWND mdiClient = FindWindowExA(application, NULL, "MDIClient", NULL);
    HWND maximized = mdiClient != NULL ? FindMaximizedDocument(mdiClient) : NULL;
    bool holds = HoldsMdiButtons(menu);
    bool own = holds && maximized != NULL && GetSubMenu(menu, 0) == GetSystemMenu(maximized, FALSE);
    if (holds && !own)
        RemoveMdiButtons(menu);
    if (maximized != NULL && !own && IsWindowVisible(maximized))
        return AttachWithButtons(application, mdiClient, menu);
    return SetMenu(application, menu) != 0;
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
    // The host gave the window a menu bar of its own meanwhile: it stays,
    // and the detached one is not put back any more.
    if (GetMenu(application) != NULL) {
        ForgetDetachedMenu();
        SetResultFlag(result, false);
        return;
    }
    if (!AttachMenu(application, gPluginState.savedMenu)) {
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
    HWND source = gPluginState.menuSource;
    if (!DetachedMenuStillThere() || gPluginState.savedMenu == NULL || GetMenu(source) != NULL) {
        ForgetDetachedMenu();
        return;
    }
    if (AttachMenu(source, gPluginState.savedMenu))
        gPluginState.menuBarShown = true;
}
