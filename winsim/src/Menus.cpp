// Menus: handles with their items, a top-level window's menu bar, which
// takes one 19-pixel line of its non-client area, and a window's window menu.
#include "Internal.h"

namespace winsim {
namespace detail {

bool IsMenuCore(HMENU menu)
{
    return S().menus.count(reinterpret_cast<uintptr_t>(menu)) != 0;
}

std::vector<MenuItem> *MenuItems(HMENU menu)
{
    auto &menus = S().menus;
    auto found = menus.find(reinterpret_cast<uintptr_t>(menu));
    return found == menus.end() ? nullptr : &found->second;
}

namespace {

HMENU NewMenu()
{
    State &s = S();
    HMENU menu = reinterpret_cast<HMENU>(s.nextMenu);
    s.menus[s.nextMenu] = {};
    s.nextMenu += 4;
    return menu;
}

// Wine's MENU_FindItem by command: a pop-up's items are searched in turn.
// (Wine takes a pop-up itself for a command equal to its handle when nothing
// else has the command, which nothing here asks for.)
bool FindByCommand(HMENU menu, UINT command, HMENU *owner, size_t *position)
{
    std::vector<MenuItem> *items = MenuItems(menu);
    if (items == nullptr)
        return false;
    for (size_t i = 0; i < items->size(); ++i) {
        const MenuItem &item = (*items)[i];
        if (item.flags & MF_POPUP) {
            if (FindByCommand(reinterpret_cast<HMENU>(item.id), command, owner, position))
                return true;
        } else if (item.id == command) {
            *owner = menu;
            *position = i;
            return true;
        }
    }
    return false;
}

}  // namespace

bool RemoveMenuCore(HMENU menu, UINT item, UINT flags, bool destroy)
{
    HMENU owner = menu;
    size_t position = item;
    if (flags & MF_BYPOSITION) {
        std::vector<MenuItem> *items = MenuItems(menu);
        if (items == nullptr || position >= items->size())
            return false;
    } else if (!FindByCommand(menu, item, &owner, &position)) {
        return false;
    }
    std::vector<MenuItem> &items = *MenuItems(owner);
    MenuItem removed = items[position];
    items.erase(items.begin() + static_cast<long>(position));
    if (destroy && (removed.flags & MF_POPUP))
        DestroyMenuCore(reinterpret_cast<HMENU>(removed.id));
    return true;
}

HMENU SystemMenuCore(Window *window)
{
    if (!IsMenuCore(window->sysMenu))
        window->sysMenu = (window->style & WS_SYSMENU) ? NewMenu() : NULL;
    return window->sysMenu;
}

void DestroyMenuCore(HMENU menu)
{
    auto &menus = S().menus;
    auto found = menus.find(reinterpret_cast<uintptr_t>(menu));
    if (found == menus.end())
        return;
    std::vector<MenuItem> items = found->second;
    menus.erase(found);
    // Pop-up menus go with the menu that holds them.
    for (const MenuItem &item : items)
        if (item.flags & MF_POPUP)
            DestroyMenuCore(reinterpret_cast<HMENU>(item.id));
}

// The frame is laid out again around its new menu bar.
void SetMenuCore(Window *window, HMENU menu)
{
    window->menuOrId = reinterpret_cast<UINT_PTR>(menu);
    SetPosCore(window->handle, NULL, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

HBITMAP NewBitmap()
{
    State &s = S();
    s.bitmaps.insert(s.nextBitmap);
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(s.nextBitmap);
    s.nextBitmap += 4;
    return bitmap;
}

bool DeleteBitmapCore(HBITMAP bitmap)
{
    return S().bitmaps.erase(reinterpret_cast<uintptr_t>(bitmap)) != 0;
}

}  // namespace detail
}  // namespace winsim

using namespace winsim::detail;

HMENU WINAPI CreateMenu(void)
{
    ApiCall call(Fn::CreateMenu);
    HMENU result = NULL;
    if (!call.Failed())
        result = NewMenu();
    call.Log({}, HandleText(result));
    return result;
}

BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text)
{
    ApiCall call(Fn::AppendMenuA);
    BOOL result = FALSE;
    if (!call.Failed() && IsMenuCore(menu)) {
        S().menus[reinterpret_cast<uintptr_t>(menu)].push_back(
            {flags, id, text && !IS_INTRESOURCE(text) ? text : ""});
        result = TRUE;
    }
    call.Log({HandleText(menu), Hex(flags),
              (flags & MF_POPUP) ? Hex(id) : Dec(static_cast<long long>(id)), Text(text)},
             Dec(result));
    return result;
}

BOOL WINAPI DestroyMenu(HMENU menu)
{
    ApiCall call(Fn::DestroyMenu);
    BOOL result = FALSE;
    if (!call.Failed() && IsMenuCore(menu)) {
        DestroyMenuCore(menu);
        result = TRUE;
    }
    call.Log({HandleText(menu)}, Dec(result));
    return result;
}

BOOL WINAPI IsMenu(HMENU menu)
{
    ApiCall call(Fn::IsMenu);
    BOOL result = !call.Failed() && IsMenuCore(menu);
    call.Log({HandleText(menu)}, Dec(result));
    return result;
}

HMENU WINAPI GetMenu(HWND window)
{
    ApiCall call(Fn::GetMenu);
    HMENU result = NULL;
    Window *w = Find(window);
    // A child window answers its id, as Wine does.
    if (!call.Failed() && w != nullptr)
        result = reinterpret_cast<HMENU>(w->menuOrId);
    call.Log({HandleText(window)}, HandleText(result));
    return result;
}

BOOL WINAPI SetMenu(HWND window, HMENU menu)
{
    ApiCall call(Fn::SetMenu);
    BOOL result = FALSE;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr && !IsPureChild(w->style) &&
        (menu == NULL || IsMenuCore(menu))) {
        SetMenuCore(w, menu);
        result = TRUE;
    }
    call.Log({HandleText(window), HandleText(menu)}, Dec(result));
    return result;
}

int WINAPI GetMenuItemCount(HMENU menu)
{
    ApiCall call(Fn::GetMenuItemCount);
    std::vector<MenuItem> *items = call.Failed() ? nullptr : MenuItems(menu);
    int result = items ? static_cast<int>(items->size()) : -1;
    call.Log({HandleText(menu)}, Dec(result));
    return result;
}

namespace {

// The item at the position, or null past the end or for no menu.
const MenuItem *ItemAt(HMENU menu, int position)
{
    std::vector<MenuItem> *items = MenuItems(menu);
    if (items == nullptr || position < 0 || static_cast<size_t>(position) >= items->size())
        return nullptr;
    return &(*items)[static_cast<size_t>(position)];
}

}  // namespace

// A pop-up has no command: its item answers -1, as does a position past the end.
UINT WINAPI GetMenuItemID(HMENU menu, int position)
{
    ApiCall call(Fn::GetMenuItemID);
    const MenuItem *item = call.Failed() ? nullptr : ItemAt(menu, position);
    UINT result = item != nullptr && !(item->flags & MF_POPUP) ? static_cast<UINT>(item->id)
                                                               : static_cast<UINT>(-1);
    call.Log({HandleText(menu), Dec(position)}, Hex(result));
    return result;
}

HMENU WINAPI GetSubMenu(HMENU menu, int position)
{
    ApiCall call(Fn::GetSubMenu);
    const MenuItem *item = call.Failed() ? nullptr : ItemAt(menu, position);
    HMENU result =
        item != nullptr && (item->flags & MF_POPUP) ? reinterpret_cast<HMENU>(item->id) : NULL;
    call.Log({HandleText(menu), Dec(position)}, HandleText(result));
    return result;
}

BOOL WINAPI RemoveMenu(HMENU menu, UINT item, UINT flags)
{
    ApiCall call(Fn::RemoveMenu);
    BOOL result = !call.Failed() && RemoveMenuCore(menu, item, flags, false);
    call.Log({HandleText(menu), Hex(item), Hex(flags)}, Dec(result));
    return result;
}

BOOL WINAPI DeleteMenu(HMENU menu, UINT item, UINT flags)
{
    ApiCall call(Fn::DeleteMenu);
    BOOL result = !call.Failed() && RemoveMenuCore(menu, item, flags, true);
    call.Log({HandleText(menu), Hex(item), Hex(flags)}, Dec(result));
    return result;
}

// The window menu as a pop-up of its own; it holds no items here, and is
// never reverted: nothing asks for that.
HMENU WINAPI GetSystemMenu(HWND window, BOOL revert)
{
    ApiCall call(Fn::GetSystemMenu);
    HMENU result = NULL;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr)
        result = SystemMenuCore(w);
    call.Log({HandleText(window), Dec(revert)}, HandleText(result));
    return result;
}

// Of an item's details, its own picture only.
BOOL WINAPI GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOA info)
{
    ApiCall call(Fn::GetMenuItemInfoA);
    const MenuItem *found =
        call.Failed() || !byPosition ? nullptr : ItemAt(menu, static_cast<int>(item));
    if (found != nullptr && (info->fMask & MIIM_BITMAP))
        info->hbmpItem = found->bitmap;
    call.Log({HandleText(menu), Dec(item), Dec(byPosition), Buffer(info)}, Dec(found != nullptr));
    return found != nullptr;
}

// The only GDI objects are the pictures the MDI client puts into menus.
BOOL WINAPI DeleteObject(HGDIOBJ object)
{
    ApiCall call(Fn::DeleteObject);
    BOOL result = !call.Failed() && DeleteBitmapCore(static_cast<HBITMAP>(object));
    call.Log({Ptr(object)}, Dec(result));
    return result;
}

DWORD WINAPI GetObjectType(HGDIOBJ object)
{
    ApiCall call(Fn::GetObjectType);
    DWORD result =
        !call.Failed() && S().bitmaps.count(reinterpret_cast<uintptr_t>(object)) ? OBJ_BITMAP : 0;
    call.Log({Ptr(object)}, Dec(result));
    return result;
}
