// The window tree: handles, parents and owners, Z order, creation with Wine's
// style fix-ups and the MDI rules, and destruction of whole subtrees.
#include "Internal.h"

#include <algorithm>

namespace winsim {
namespace detail {

namespace {

std::vector<HWND> gNoSiblings;

void SendSizeAndMove(HWND handle)
{
    RECT c = Find(handle)->client;
    SendCore(handle, WM_SIZE, 0, MAKELPARAM(c.right - c.left, c.bottom - c.top));
    SendCore(handle, WM_MOVE, 0, MAKELPARAM(c.left, c.top));
}

// Removes a window that never finished its creation: it gets WM_NCDESTROY only.
void Abandon(HWND handle)
{
    SendCore(handle, WM_NCDESTROY, 0, 0);
    if (Window *w = Find(handle)) {
        Unlink(w);
        w->cls->windows--;
        S().windows.erase(reinterpret_cast<uintptr_t>(handle));
    }
}

// A window marked so, with all below it, refuses DestroyWindow: while a
// subtree is destroyed, its windows stay until it is freed.
void MarkDestroying(Window *w)
{
    w->destroying = true;
    for (HWND child : w->children)
        MarkDestroying(Find(child));
}

// A window told that it is destroyed may destroy its parent, and so itself.
void SendDestroy(HWND handle)
{
    SendCore(handle, WM_DESTROY, 0, 0);
    Window *w = Find(handle);
    if (w == nullptr)
        return;
    std::vector<HWND> children = w->children;
    for (HWND child : children)
        SendDestroy(child);
}

// A focus inside the subtree is lost with it; the activation has gone
// elsewhere before.
void FreeTree(HWND handle)
{
    std::vector<HWND> children = Find(handle)->children;
    for (HWND child : children)
        FreeTree(child);
    SendCore(handle, WM_NCDESTROY, 0, 0);
    Window *w = Find(handle);
    State &s = S();
    Unlink(w);
    w->cls->windows--;
    DestroyMenuCore(w->sysMenu);
    PurgeMessages(handle);
    if (s.focus == handle)
        s.focus = NULL;
    s.windows.erase(reinterpret_cast<uintptr_t>(handle));
}

}  // namespace

Window *Find(HWND window)
{
    if (window == NULL)
        return nullptr;
    auto &windows = S().windows;
    auto found = windows.find(reinterpret_cast<uintptr_t>(window));
    return found == windows.end() ? nullptr : found->second.get();
}

std::vector<HWND> &Siblings(const Window *window)
{
    if (window->parent == NULL)
        return S().topLevel;
    Window *parent = Find(window->parent);
    return parent ? parent->children : gNoSiblings;
}

bool IsPureChild(DWORD style)
{
    return (style & (WS_CHILD | WS_POPUP)) == WS_CHILD;
}

bool HasMenuBar(const Window *window)
{
    return !(window->style & WS_CHILD) && window->menuOrId != 0;
}

Window *Root(Window *window)
{
    while (window != nullptr && window->parent != NULL)
        window = Find(window->parent);
    return window;
}

bool IsWithin(HWND window, HWND ancestor)
{
    for (Window *w = Find(window); w != nullptr; w = Find(w->parent))
        if (w->handle == ancestor)
            return true;
    return false;
}

bool VisibleChain(const Window *window)
{
    for (const Window *w = window; w != nullptr; w = Find(w->parent))
        if (!(w->style & WS_VISIBLE))
            return false;
    return true;
}

void Unlink(const Window *window)
{
    auto &list = Siblings(window);
    list.erase(std::remove(list.begin(), list.end(), window->handle), list.end());
}

void LinkTop(const Window *window)
{
    Unlink(window);
    auto &list = Siblings(window);
    auto at = list.begin();
    if (!(window->exStyle & WS_EX_TOPMOST))
        while (at != list.end() && (Find(*at)->exStyle & WS_EX_TOPMOST))
            ++at;
    list.insert(at, window->handle);
}

void LinkBottom(const Window *window)
{
    Unlink(window);
    Siblings(window).push_back(window->handle);
}

HWND CreateCore(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    State &s = S();
    if (instance == NULL)
        instance = MainModule();
    WindowClass *cls = FindClass(className, instance);
    if (cls == nullptr)
        return NULL;
    Window *parentWindow = nullptr;
    if (parent != NULL && (parentWindow = Find(parent)) == nullptr)
        return NULL;

    bool mdiChild = (exStyle & WS_EX_MDICHILD) && parentWindow && parentWindow->mdiClient;
    if (mdiChild) {
        if (parentWindow->style & MDIS_ALLCHILDSTYLES) {
            if (style & WS_POPUP)
                return NULL;
        } else {
            // Wine gives every document window the full frame, shown.
            style &=
                WS_MINIMIZE | WS_MAXIMIZE | WS_HSCROLL | WS_VSCROLL | WS_DISABLED | WS_CLIPCHILDREN;
            style |= WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        }
        style |= WS_CHILD | WS_CLIPSIBLINGS;
    }
    bool child = IsPureChild(style);
    if (child && parentWindow == nullptr)
        return NULL;
    if (mdiChild && (style & WS_VISIBLE))
        MdiChildCreating(parentWindow);
    if (!child) {
        style |= WS_CLIPSIBLINGS;
        if (!(style & WS_POPUP))
            style |= WS_CAPTION;
        if (menu != NULL && !IsMenuCore(menu))
            return NULL;
    }
    exStyle = FixExStyle(style, exStyle);

    auto owned = std::make_unique<Window>();
    Window *w = owned.get();
    HWND handle = reinterpret_cast<HWND>(s.nextWindow);
    s.nextWindow += 4;
    w->handle = handle;
    w->cls = cls;
    w->proc = cls->proc;
    w->style = style & ~static_cast<DWORD>(WS_VISIBLE);
    w->exStyle = exStyle;
    w->instance = instance;
    w->process = s.makingProcess;
    w->thread = s.makingThread;
    if (child) {
        w->parent = parent;
        w->menuOrId = reinterpret_cast<UINT_PTR>(menu);
    } else {
        Window *root = Root(parentWindow);
        w->owner = root ? root->handle : NULL;
        w->menuOrId = reinterpret_cast<UINT_PTR>(menu);
    }
    if (mdiChild) {
        w->mdiChild = true;
        UINT count = 0;
        for (HWND sibling : parentWindow->children)
            if (Find(sibling)->mdiChild)
                ++count;
        w->menuOrId = parentWindow->mdiFirstChild + count;
    }
    if (cls->kind == ClassKind::MdiClient) {
        w->mdiClient = true;
        if (parentWindow != nullptr && HasMenuBar(parentWindow))
            w->mdiFrameMenu = reinterpret_cast<HMENU>(parentWindow->menuOrId);
        if (param != nullptr)
            w->mdiFirstChild = static_cast<const CLIENTCREATESTRUCT *>(param)->idFirstChild;
    }
    if ((style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD)))
        LimitSize(w, &width, &height);
    width = std::max(width, 0);
    height = std::max(height, 0);
    w->rect = {x, y, x + width, y + height};
    w->client = ComputeClient(w, w->rect);
    w->needSize = !(style & (WS_POPUP | WS_CHILD));
    bool visible = (style & WS_VISIBLE) != 0;

    s.windows[reinterpret_cast<uintptr_t>(handle)] = std::move(owned);
    cls->windows++;
    // New top-level windows go on top; children go to the bottom, except a
    // shown document window, which the MDI client activates and raises.
    if (!child || (mdiChild && visible))
        LinkTop(w);
    else
        LinkBottom(w);

    CreateStruct cs = {param, instance, menu,        parent, height,    width,
                       y,     x,        (LONG)style, title,  className, exStyle};
    if (!SendCore(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        Abandon(handle);
        return NULL;
    }
    if (Find(handle) == nullptr ||
        SendCore(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        Abandon(handle);
        return NULL;
    }
    w = Find(handle);
    if (w == nullptr)
        return NULL;
    if (!w->needSize)
        SendSizeAndMove(handle);
    if (visible && Find(handle) != nullptr)
        ShowCore(handle, SW_SHOW);
    // The MDI client activates a shown document: ShowWindow does not.
    if (mdiChild && visible && Find(handle) != nullptr)
        SetPosCore(handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return Find(handle) ? handle : NULL;
}

bool DestroyCore(HWND handle)
{
    Window *w = Find(handle);
    if (w == nullptr || w->destroying)
        return false;
    // Marked now, the window stays until it is freed; the windows below it
    // are marked once its owned windows are gone.
    w->destroying = true;
    MdiChildDestroying(w);
    if (w->style & WS_VISIBLE) {
        if (w->parent != NULL)
            ShowCore(handle, SW_HIDE);
        else
            SetPosCore(handle, NULL, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    }
    // A child's parent may have gone meanwhile, and the child with it.
    if (Find(handle) == nullptr)
        return true;
    if (S().active == handle)
        ActivateOther(handle);
    if (w->parent == NULL) {
        std::vector<HWND> owned;
        for (HWND top : S().topLevel)
            if (Find(top)->owner == handle)
                owned.push_back(top);
        for (HWND top : owned)
            DestroyCore(top);
    }
    MarkDestroying(w);
    SendDestroy(handle);
    if (Find(handle) != nullptr)
        FreeTree(handle);
    return true;
}

}  // namespace detail
}  // namespace winsim

using namespace winsim::detail;

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param)
{
    ApiCall call(Fn::CreateWindowExA);
    HWND result = NULL;
    if (!call.Failed())
        result = CreateCore(exStyle, className, windowName, style, x, y, width, height, parent,
                            menu, instance, param);
    call.Log(
        {Hex(exStyle), Text(className), Text(windowName), Hex(style), Dec(x), Dec(y), Dec(width),
         Dec(height), HandleText(parent), HandleText(menu), HandleText(instance), Ptr(param)},
        HandleText(result));
    return result;
}

BOOL WINAPI DestroyWindow(HWND window)
{
    ApiCall call(Fn::DestroyWindow);
    BOOL result = FALSE;
    if (!call.Failed() && Find(window) != nullptr)
        result = DestroyCore(window) ? TRUE : FALSE;
    call.Log({HandleText(window)}, Dec(result));
    return result;
}

BOOL WINAPI IsWindow(HWND window)
{
    ApiCall call(Fn::IsWindow);
    BOOL result = !call.Failed() && Find(window) != nullptr;
    call.Log({HandleText(window)}, Dec(result));
    return result;
}

HWND WINAPI GetParent(HWND window)
{
    ApiCall call(Fn::GetParent);
    HWND result = NULL;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr) {
        // An owned pop-up answers its owner.
        if (w->style & WS_POPUP)
            result = w->owner;
        else if (w->style & WS_CHILD)
            result = w->parent;
    }
    call.Log({HandleText(window)}, HandleText(result));
    return result;
}

HWND WINAPI GetWindow(HWND window, UINT command)
{
    ApiCall call(Fn::GetWindow);
    HWND result = NULL;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr) {
        const std::vector<HWND> &list = Siblings(w);
        auto at = std::find(list.begin(), list.end(), window);
        switch (command) {
        case GW_HWNDFIRST:
            result = list.empty() ? NULL : list.front();
            break;
        case GW_HWNDLAST:
            result = list.empty() ? NULL : list.back();
            break;
        case GW_HWNDNEXT:
            if (at != list.end() && at + 1 != list.end())
                result = *(at + 1);
            break;
        case GW_HWNDPREV:
            if (at != list.end() && at != list.begin())
                result = *(at - 1);
            break;
        case GW_OWNER:
            result = w->owner;
            break;
        case GW_CHILD:
            result = w->children.empty() ? NULL : w->children.front();
            break;
        default:
            break;
        }
    }
    call.Log({HandleText(window), Dec(command)}, HandleText(result));
    return result;
}

HWND WINAPI GetAncestor(HWND window, UINT flags)
{
    ApiCall call(Fn::GetAncestor);
    HWND result = NULL;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr) {
        switch (flags) {
        case GA_PARENT:
            result = w->parent;  // null for a top-level window: the desktop is not modelled
            break;
        case GA_ROOT:
            result = Root(w)->handle;
            break;
        case GA_ROOTOWNER: {
            // The root, then its owners up to the one that has none.
            Window *r = Root(w);
            while (r->owner != NULL && Find(r->owner) != nullptr)
                r = Root(Find(r->owner));
            result = r->handle;
            break;
        }
        default:
            break;
        }
    }
    call.Log({HandleText(window), Dec(flags)}, HandleText(result));
    return result;
}

DWORD WINAPI GetWindowThreadProcessId(HWND window, LPDWORD processId)
{
    ApiCall call(Fn::GetWindowThreadProcessId);
    DWORD result = 0;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr) {
        result = w->thread;
        if (processId != nullptr)
            *processId = w->process;
    }
    call.Log({HandleText(window), processId ? (result ? Hex(*processId) : "&") : "NULL"},
             Hex(result));
    return result;
}
