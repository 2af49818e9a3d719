// Menus: handles with their items, and a top-level window's menu bar, which
// takes one 19-pixel line of its non-client area.
#include "Internal.h"

namespace winsim {
namespace detail {

bool IsMenuCore(HMENU menu)
{
    return S().menus.count(reinterpret_cast<uintptr_t>(menu)) != 0;
}

}  // namespace detail
}  // namespace winsim

using namespace winsim::detail;

namespace {

void DestroyMenuTree(HMENU menu)
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
            DestroyMenuTree(reinterpret_cast<HMENU>(item.id));
}

}  // namespace

HMENU WINAPI CreateMenu(void)
{
    ApiCall call("CreateMenu");
    HMENU result = NULL;
    if (!call.Failed()) {
        State &s = S();
        result = reinterpret_cast<HMENU>(s.nextMenu);
        s.menus[s.nextMenu] = {};
        s.nextMenu += 4;
    }
    call.Log({}, HandleText(result));
    return result;
}

BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text)
{
    ApiCall call("AppendMenuA");
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
    ApiCall call("DestroyMenu");
    BOOL result = FALSE;
    if (!call.Failed() && IsMenuCore(menu)) {
        DestroyMenuTree(menu);
        result = TRUE;
    }
    call.Log({HandleText(menu)}, Dec(result));
    return result;
}

BOOL WINAPI IsMenu(HMENU menu)
{
    ApiCall call("IsMenu");
    BOOL result = !call.Failed() && IsMenuCore(menu);
    call.Log({HandleText(menu)}, Dec(result));
    return result;
}

HMENU WINAPI GetMenu(HWND window)
{
    ApiCall call("GetMenu");
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
    ApiCall call("SetMenu");
    BOOL result = FALSE;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr && !IsPureChild(w->style) &&
        (menu == NULL || IsMenuCore(menu))) {
        w->menuOrId = reinterpret_cast<UINT_PTR>(menu);
        SetPosCore(window, NULL, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER | SWP_FRAMECHANGED);
        result = TRUE;
    }
    call.Log({HandleText(window), HandleText(menu)}, Dec(result));
    return result;
}
