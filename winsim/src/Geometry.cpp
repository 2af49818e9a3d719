// Geometry: system metrics, Wine's non-client frame sizes, size limits, and the
// coordinate functions (window and client rectangles, point mapping).
#include "Internal.h"

#include <algorithm>

namespace winsim {
namespace detail {

namespace {

constexpr int kCaption = 19;       // SM_CYCAPTION: the caption bar and its bottom line
constexpr int kSmallCaption = 16;  // a tool window's caption
constexpr int kMenuBar = 19;       // SM_CYMENU: one line of menu bar
constexpr int kMinTrackX = 112;
constexpr int kMinTrackY = 27;
constexpr int kScrollBar = 17;  // a scroll bar's width

}  // namespace

namespace {

// The smallest rectangle that holds every monitor.
RECT VirtualScreen(const State &s)
{
    RECT all = {0, 0, s.screenWidth, s.screenHeight};
    for (const RECT &m : s.otherMonitors) {
        all.left = std::min(all.left, m.left);
        all.top = std::min(all.top, m.top);
        all.right = std::max(all.right, m.right);
        all.bottom = std::max(all.bottom, m.bottom);
    }
    return all;
}

}  // namespace

int Metric(int index)
{
    const State &s = S();
    switch (index) {
    case SM_XVIRTUALSCREEN:
        return VirtualScreen(s).left;
    case SM_YVIRTUALSCREEN:
        return VirtualScreen(s).top;
    case SM_CXVIRTUALSCREEN:
        return VirtualScreen(s).right - VirtualScreen(s).left;
    case SM_CYVIRTUALSCREEN:
        return VirtualScreen(s).bottom - VirtualScreen(s).top;
    case SM_CMONITORS:
        return 1 + static_cast<int>(s.otherMonitors.size());
    case SM_CXSCREEN:
        return s.screenWidth;
    case SM_CYSCREEN:
        return s.screenHeight;
    case SM_CYCAPTION:
        return kCaption;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CYMENU:
        return kMenuBar;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    case SM_CXMINTRACK:
        return kMinTrackX;
    case SM_CYMINTRACK:
        return kMinTrackY;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXMINIMIZED:  // a minimized window's icon with its title
        return 160;
    case SM_CYMINIMIZED:
        return 24;
    case SM_CXMAXTRACK:  // the virtual screen, the 4-pixel frame twice and 4 more
        return Metric(SM_CXVIRTUALSCREEN) + 4 + 2 * Metric(SM_CXFRAME);
    case SM_CYMAXTRACK:
        return Metric(SM_CYVIRTUALSCREEN) + 4 + 2 * Metric(SM_CYFRAME);
    default:
        return 0;
    }
}

// Wine's adjust_window_rect with its default non-client metrics.
void AdjustRect(RECT *rect, DWORD style, bool menu, DWORD exStyle)
{
    int adjust = 0;
    if ((exStyle & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) == WS_EX_STATICEDGE)
        adjust = 1;
    else if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_THICKFRAME | WS_DLGFRAME)))
        adjust = 2;
    if (style & WS_THICKFRAME)
        adjust += 1;
    if ((style & (WS_BORDER | WS_DLGFRAME)) || (exStyle & WS_EX_DLGMODALFRAME))
        adjust += 1;
    rect->left -= adjust;
    rect->top -= adjust;
    rect->right += adjust;
    rect->bottom += adjust;
    if ((style & WS_CAPTION) == WS_CAPTION)
        rect->top -= (exStyle & WS_EX_TOOLWINDOW) ? kSmallCaption : kCaption;
    if (menu)
        rect->top -= kMenuBar;
    if (exStyle & WS_EX_CLIENTEDGE) {
        rect->left -= 2;
        rect->top -= 2;
        rect->right += 2;
        rect->bottom += 2;
    }
}

// The window edge follows the frame, at creation and on every style change.
DWORD FixExStyle(DWORD style, DWORD exStyle)
{
    if ((exStyle & WS_EX_DLGMODALFRAME) ||
        (!(exStyle & WS_EX_STATICEDGE) && (style & (WS_DLGFRAME | WS_THICKFRAME))))
        return exStyle | WS_EX_WINDOWEDGE;
    return exStyle & ~static_cast<DWORD>(WS_EX_WINDOWEDGE);
}

RECT ComputeClient(const Window *window, const RECT &rect)
{
    // An icon has no frame: its client area is the whole icon, whatever the
    // style, so a change of frame does not size it.
    if (window->style & WS_MINIMIZE)
        return rect;
    RECT frame = {0, 0, 0, 0};
    AdjustRect(&frame, window->style, HasMenuBar(window), window->exStyle);
    RECT client;
    client.left = rect.left - frame.left;
    client.top = rect.top - frame.top;
    client.right = std::max(client.left, rect.right - frame.right);
    client.bottom = std::max(client.top, rect.bottom - frame.bottom);
    // Scroll bars take their room from the client area when it has that room.
    if ((window->style & WS_VSCROLL) && client.right - client.left >= kScrollBar)
        client.right -= kScrollBar;
    if ((window->style & WS_HSCROLL) && client.bottom - client.top >= kScrollBar)
        client.bottom -= kScrollBar;
    return client;
}

void LimitSize(const Window *window, int *cx, int *cy)
{
    DWORD style = window->style;
    if (!(style & WS_THICKFRAME) && (style & (WS_POPUP | WS_CHILD)))
        return;
    int minX = kMinTrackX;
    int minY = kMinTrackY;
    if (!(style & WS_CAPTION)) {
        // Without any caption bit the least size is twice the frame.
        RECT frame = {0, 0, 0, 0};
        AdjustRect(&frame, style, (style & WS_POPUP) && window->menuOrId != 0, window->exStyle);
        minX = -2 * frame.left;
        minY = -2 * frame.top;
    }
    int maxX = std::max(Metric(SM_CXMAXTRACK), minX);
    int maxY = std::max(Metric(SM_CYMAXTRACK), minY);
    *cx = std::max(std::min(*cx, maxX), minX);
    *cy = std::max(std::min(*cy, maxY), minY);
}

POINT ParentOrigin(const Window *window)
{
    POINT origin = {0, 0};
    if (window->parent != NULL)
        origin = ClientOrigin(Find(window->parent));
    return origin;
}

POINT ClientOrigin(const Window *window)
{
    POINT origin = ParentOrigin(window);
    origin.x += window->client.left;
    origin.y += window->client.top;
    return origin;
}

RECT ScreenRect(const Window *window)
{
    POINT origin = ParentOrigin(window);
    RECT r = window->rect;
    return {r.left + origin.x, r.top + origin.y, r.right + origin.x, r.bottom + origin.y};
}

}  // namespace detail
}  // namespace winsim

using namespace winsim::detail;

namespace {

// The points as the call log writes them. GCOVR_EXCL_START
std::string PointsText(const POINT *points, UINT count)
{
    if (points == nullptr)
        return "NULL";
    if (count == 1)
        return PointText(points).Formatted();
    std::string text = "{";
    for (UINT i = 0; i < count; ++i)
        text += (i ? ", " : "") + PointText(points + i);
    return text + "}";
}
// GCOVR_EXCL_STOP

}  // namespace

int WINAPI GetSystemMetrics(int index)
{
    ApiCall call(Fn::GetSystemMetrics);
    int result = call.Failed() ? 0 : Metric(index);
    call.Log({Dec(index)}, Dec(result));
    return result;
}

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle)
{
    ApiCall call(Fn::AdjustWindowRectEx);
    BOOL result = FALSE;
    if (!call.Failed()) {
        if (rect != nullptr)  // Wine answers TRUE for a null rectangle too
            AdjustRect(rect, style, menu != FALSE, exStyle);
        result = TRUE;
    }
    call.Log({RectText(rect), Hex(style), Dec(menu), Hex(exStyle)}, Dec(result));
    return result;
}

BOOL WINAPI GetWindowRect(HWND window, LPRECT rect)
{
    ApiCall call(Fn::GetWindowRect);
    BOOL result = FALSE;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr && rect != nullptr) {
        *rect = ScreenRect(w);
        result = TRUE;
    }
    call.Log({HandleText(window), result ? RectText(rect) : Buffer(rect)}, Dec(result));
    return result;
}

BOOL WINAPI GetClientRect(HWND window, LPRECT rect)
{
    ApiCall call(Fn::GetClientRect);
    BOOL result = FALSE;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr && rect != nullptr) {
        *rect = {0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
        result = TRUE;
    }
    call.Log({HandleText(window), result ? RectText(rect) : Buffer(rect)}, Dec(result));
    return result;
}

BOOL WINAPI ClientToScreen(HWND window, LPPOINT point)
{
    ApiCall call(Fn::ClientToScreen);
    BOOL result = FALSE;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr && point != nullptr) {
        POINT origin = ClientOrigin(w);
        point->x += origin.x;
        point->y += origin.y;
        result = TRUE;
    }
    call.Log({HandleText(window), PointText(point)}, Dec(result));
    return result;
}

BOOL WINAPI ScreenToClient(HWND window, LPPOINT point)
{
    ApiCall call(Fn::ScreenToClient);
    BOOL result = FALSE;
    Window *w = Find(window);
    if (!call.Failed() && w != nullptr && point != nullptr) {
        POINT origin = ClientOrigin(w);
        point->x -= origin.x;
        point->y -= origin.y;
        result = TRUE;
    }
    call.Log({HandleText(window), PointText(point)}, Dec(result));
    return result;
}

int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count)
{
    ApiCall call(Fn::MapWindowPoints);
    int result = 0;
    Window *source = Find(from);
    Window *target = Find(to);
    bool valid = (from == NULL || source != nullptr) && (to == NULL || target != nullptr);
    if (!call.Failed() && valid) {
        POINT a = source ? ClientOrigin(source) : POINT{0, 0};
        POINT b = target ? ClientOrigin(target) : POINT{0, 0};
        LONG dx = a.x - b.x;
        LONG dy = a.y - b.y;
        for (UINT i = 0; points != nullptr && i < count; ++i) {
            points[i].x += dx;
            points[i].y += dy;
        }
        result = MAKELONG(dx, dy);
    }
    call.Log({HandleText(from), HandleText(to), PointsText(points, count), Dec(count)},
             Dec(result));
    return result;
}
