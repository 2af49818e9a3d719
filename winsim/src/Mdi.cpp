// The MDI client's bookkeeping, after Wine's mdi.c: its active document,
// the document that is maximized, and the buttons of that document (its
// window menu as the first item, minimize, restore and close as the last
// three) that it keeps in the frame's menu bar while the frame has one; and
// where a child window goes when it is minimized, maximized and restored.
#include "Internal.h"

namespace winsim {
namespace detail {

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

Window *ClientOf(const Window *child)
{
    Window *client = child ? Find(child->parent) : nullptr;
    return client != nullptr && client->mdiClient ? client : nullptr;
}

// The frame's menu bar: the menu of the MDI client's parent.
HMENU FrameMenu(const Window *client)
{
    Window *frame = Find(client->parent);
    return frame != nullptr && HasMenuBar(frame) ? reinterpret_cast<HMENU>(frame->menuOrId) : NULL;
}

bool HoldsButtons(const std::vector<MenuItem> &items)
{
    return !items.empty() && (items.back().id == SC_RESTORE || items.back().id == SC_CLOSE);
}

// MDI_AugmentFrameMenu: the document's buttons go into the frame's menu
// bar, when it has one and the document has a window menu; beside any it
// holds already.
// The window menu's item shows a picture of the document's icon, a bitmap
// that the client makes.
void AugmentFrameMenu(const Window *client, Window *child)
{
    std::vector<MenuItem> *items = MenuItems(FrameMenu(client));
    HMENU windowMenu = SystemMenuCore(child);
    if (items == nullptr || windowMenu == NULL)
        return;
    for (UINT command : {SC_MINIMIZE, SC_RESTORE, SC_CLOSE})
        items->push_back({MF_HELP | MF_BITMAP, command, ""});
    items->insert(items->begin(),
                  {MF_POPUP | MF_BITMAP, reinterpret_cast<UINT_PTR>(windowMenu), "", NewBitmap()});
}

// MDI_RestoreFrameMenu: the buttons, found by the command of the last item,
// are taken out of the frame's menu bar, and the picture with them; the
// window menu is not destroyed.
void RestoreFrameMenu(const Window *client)
{
    HMENU menu = FrameMenu(client);
    std::vector<MenuItem> *items = MenuItems(menu);
    if (items == nullptr || !HoldsButtons(*items))
        return;
    DeleteBitmapCore(items->front().bitmap);
    RemoveMenuCore(menu, 0, MF_BYPOSITION, false);
    for (UINT command : {SC_CLOSE, SC_RESTORE, SC_MINIMIZE})
        RemoveMenuCore(menu, command, MF_BYCOMMAND, true);
}

// MDI_GetWindow: the next document after this one, from the top of the Z
// order round to it, that is shown, enabled and not minimized.
HWND NextDocument(const Window *client, HWND after)
{
    const std::vector<HWND> &list = client->children;
    size_t count = list.size();
    size_t at = 0;
    while (at < count && list[at] != after)
        ++at;
    for (size_t step = 1; step < count; ++step) {
        const Window *w = Find(list[(at + step) % count]);
        if (w->owner == NULL && (w->style & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE)) == WS_VISIBLE)
            return w->handle;
    }
    return NULL;
}

// MDI_ChildActivate and MDI_SwitchActiveChild: while the active document is
// maximized, the one activated takes its place maximized. The active
// document changes only once the old one is restored, so that the
// activation that restoring sends it changes nothing.
void Activate(Window *client, HWND child)
{
    HWND previous = client->mdiActive;
    if (previous == child)
        return;
    Window *p = Find(previous);
    bool wasZoomed = p != nullptr && (p->style & WS_MAXIMIZE);
    if (wasZoomed)
        ShowCore(previous, SW_RESTORE);
    client->mdiActive = child;
    SetPosCore(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (wasZoomed && Find(child) != nullptr)
        ShowCore(child, SW_SHOWMAXIMIZED);
}

// The document's WM_SIZE: the only place where the client notes that a
// document is maximized or no longer is, and moves the buttons.
void ChildSized(Window *client, HWND child, WPARAM type)
{
    if (client->mdiMaximized == child && type != SIZE_MAXIMIZED) {
        client->mdiMaximized = NULL;
        RestoreFrameMenu(client);
    }
    if (type == SIZE_MAXIMIZED && client->mdiMaximized != child) {
        HWND previous = client->mdiMaximized;
        if (previous != NULL) {
            RestoreFrameMenu(client);
            ShowCore(previous, SW_SHOWNOACTIVATE);
        }
        client->mdiMaximized = child;
        if (Window *w = Find(child))
            AugmentFrameMenu(client, w);
    }
    // A minimized document hands the activation on, active or not.
    if (type == SIZE_MINIMIZED) {
        HWND next = NextDocument(client, child);
        SendCore(next != NULL ? next : child, WM_CHILDACTIVATE, 0, 0);
    }
}

// MDISetMenu, for a new frame menu: the menu the client holds is ignored;
// another one is attached, and the maximized document's buttons move to it.
// The answer is the menu held before.
void SetFrameMenu(Window *client, HMENU menu, LRESULT *result)
{
    *result = 0;
    if (menu == NULL || !IsMenuCore(menu))
        return;
    HMENU held = client->mdiFrameMenu;
    *result = reinterpret_cast<LRESULT>(held);
    if (menu == held)
        return;
    Window *maximized = Find(client->mdiMaximized);
    if (maximized != nullptr)
        RestoreFrameMenu(client);
    if (Window *frame = Find(client->parent))
        SetMenuCore(frame, menu);
    client->mdiFrameMenu = menu;
    if (maximized != nullptr)
        AugmentFrameMenu(client, maximized);
}

}  // namespace

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

bool MdiClientMessage(Window *client, UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result)
{
    Window *active = Find(client->mdiActive);
    switch (message) {
    case WM_MDIGETACTIVE:
        // A destroyed active document is still answered, as Wine does.
        if (lParam != 0)
            *reinterpret_cast<BOOL *>(lParam) = active && (active->style & WS_MAXIMIZE) ? 1 : 0;
        *result = reinterpret_cast<LRESULT>(client->mdiActive);
        return true;
    case WM_MDISETMENU:
        SetFrameMenu(client, reinterpret_cast<HMENU>(wParam), result);
        return true;
    case WM_SIZE:
        if (active != nullptr && (active->style & WS_MAXIMIZE)) {
            RECT rect = {0, 0, LOWORD(lParam), HIWORD(lParam)};
            AdjustRect(&rect, active->style, false, active->exStyle);
            SetPosCore(active->handle, NULL, rect.left, rect.top, rect.right - rect.left,
                       rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        *result = 0;
        return true;
    default:
        return false;
    }
}

LRESULT MdiChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window *w = Find(window);
    Window *client = ClientOf(w);
    if (client != nullptr) {
        if (message == WM_CHILDACTIVATE) {
            if (!(w->style & WS_DISABLED))
                Activate(client, window);
            return 0;
        }
        if (message == WM_SIZE)
            ChildSized(client, window, wParam);
    }
    return DefProc(window, message, wParam, lParam);
}

// A shown document made while another is maximized: that one is restored.
void MdiChildCreating(Window *client)
{
    if (client->children.empty())
        return;
    Window *top = Find(client->children.front());
    if (top != nullptr && (top->style & WS_MAXIMIZE))
        ShowCore(top->handle, SW_SHOWNORMAL);
}

// MDIDestroyChild, as WM_PARENTNOTIFY calls it: the buttons of the active
// document, maximized, leave the frame's menu bar. The client keeps the
// destroyed document as its active one.
void MdiChildDestroying(Window *child)
{
    Window *client = ClientOf(child);
    if (client != nullptr && client->mdiActive == child->handle &&
        client->mdiMaximized == child->handle) {
        RestoreFrameMenu(client);
        client->mdiMaximized = NULL;
    }
}

}  // namespace detail
}  // namespace winsim
