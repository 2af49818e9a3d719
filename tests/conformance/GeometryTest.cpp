// Geometry (winsim/src/Geometry.cpp): the system metrics, Wine's frame sizes
// through AdjustWindowRectEx, the client area they leave, DefWindowProc's
// size limits, and the coordinate functions. The numbers were read back from
// the same calls under Wine 8 on a 1024 by 768 screen; the tests hold the
// stand-in and Wine to them alike.
#include "ConformanceFixture.h"

#include "../common/RectOps.h"

namespace conformance {
namespace {

struct MetricCase {
    int index;
    int value;
};

class MetricTest : public ConformanceTest, public ::testing::WithParamInterface<MetricCase> {};

TEST_P(MetricTest, MatchesWine)
{
    EXPECT_EQ(GetSystemMetrics(GetParam().index), GetParam().value) << "index " << GetParam().index;
}

INSTANTIATE_TEST_SUITE_P(Metrics, MetricTest,
                         ::testing::Values(MetricCase{SM_CXSCREEN, 1024},
                                           MetricCase{SM_CYSCREEN, 768}, MetricCase{SM_CXBORDER, 1},
                                           MetricCase{SM_CXDLGFRAME, 3}, MetricCase{SM_CXFRAME, 4},
                                           MetricCase{SM_CXEDGE, 2}, MetricCase{SM_CYCAPTION, 19},
                                           MetricCase{SM_CYMENU, 19},
                                           MetricCase{SM_CXMINTRACK, 112},
                                           MetricCase{SM_CYMINTRACK, 27},
                                           MetricCase{SM_CXMAXTRACK, 1036},
                                           MetricCase{SM_CYMAXTRACK, 780}, MetricCase{9999, 0}));

TEST_F(ConformanceTest, OneMonitorIsTheWholeVirtualScreen)
{
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), kScreenWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), kScreenHeight);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), kScreenWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), kScreenHeight);
}

struct AdjustCase {
    const char *label;
    DWORD style;
    BOOL menu;
    DWORD exStyle;
    RECT expected;  // of (0, 0, 100, 100)
};

class AdjustTest : public ConformanceTest, public ::testing::WithParamInterface<AdjustCase> {};

TEST_P(AdjustTest, InflatesLikeWine)
{
    const AdjustCase &c = GetParam();
    RECT rect = Rect(0, 0, 100, 100);
    ASSERT_TRUE(AdjustWindowRectEx(&rect, c.style, c.menu, c.exStyle)) << c.label;
    EXPECT_EQ(rect, c.expected) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, AdjustTest,
    ::testing::Values(AdjustCase{"overlapped window with menu", WS_OVERLAPPEDWINDOW, TRUE, 0,
                                 Rect(-4, -42, 104, 104)},
                      AdjustCase{"child, sizing, caption, menu, client edge",
                                 WS_CHILD | WS_THICKFRAME | WS_CAPTION, TRUE, WS_EX_CLIENTEDGE,
                                 Rect(-6, -44, 106, 106)},
                      AdjustCase{"tool window caption", WS_CAPTION, FALSE, WS_EX_TOOLWINDOW,
                                 Rect(-3, -19, 103, 103)},
                      AdjustCase{"static edge with modal frame", WS_THICKFRAME, FALSE,
                                 WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME, Rect(-4, -4, 104, 104)},
                      AdjustCase{"static edge with border", WS_BORDER, FALSE, WS_EX_STATICEDGE,
                                 Rect(-2, -2, 102, 102)},
                      AdjustCase{"static edge with sizing", WS_POPUP | WS_THICKFRAME, FALSE,
                                 WS_EX_STATICEDGE, Rect(-2, -2, 102, 102)},
                      AdjustCase{"border with client edge", WS_POPUP | WS_BORDER, FALSE,
                                 WS_EX_CLIENTEDGE, Rect(-3, -3, 103, 103)},
                      AdjustCase{"modal frame only", WS_POPUP, FALSE, WS_EX_DLGMODALFRAME,
                                 Rect(-3, -3, 103, 103)},
                      AdjustCase{"caption bits apart", WS_DLGFRAME, FALSE, 0,
                                 Rect(-3, -3, 103, 103)},
                      AdjustCase{"no frame", WS_POPUP, FALSE, 0, Rect(0, 0, 100, 100)}));

TEST_F(ConformanceTest, CoverWindowGeometry)
{
    HWND cover = Make("Background (Loomvane)", WS_DISABLED | WS_CAPTION, -3, -2, 1030, 772);
    EXPECT_EQ(WindowRect(cover), Rect(-3, -2, 1027, 770));
    EXPECT_EQ(ClientOnScreen(cover), Rect(0, 20, 1024, 767));
    EXPECT_FALSE(IsWindowEnabled(cover));
    EXPECT_FALSE(IsWindowVisible(cover));
}

TEST_F(ConformanceTest, ScrollBarsTakeClientRoom)
{
    HWND window = Make("s", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, 0, 200, 100);
    EXPECT_EQ(ClientSize(window), Rect(0, 0, 183, 83));
}

struct Extent {
    LONG cx, cy;
};

struct LimitCase {
    const char *label;
    DWORD style;
    bool child;
    Extent negative;  // what (-5, -7) becomes
    Extent small;     // (5, 7)
    Extent big;       // (3000, 2000)
};

class SizeLimitTest : public ConformanceTest, public ::testing::WithParamInterface<LimitCase> {};

Extent SizeAfter(HWND window, int cx, int cy)
{
    SetWindowPos(window, NULL, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r = {0, 0, 0, 0};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

TEST_P(SizeLimitTest, ClampsLikeDefWindowProc)
{
    const LimitCase &c = GetParam();
    HWND parent = c.child ? Make("parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE) : NULL;
    HWND w = Make("w", c.style, 10, 20, 300, 200, parent);
    Extent negative = SizeAfter(w, -5, -7);
    Extent small = SizeAfter(w, 5, 7);
    Extent big = SizeAfter(w, 3000, 2000);
    EXPECT_EQ(negative.cx, c.negative.cx) << c.label;
    EXPECT_EQ(negative.cy, c.negative.cy) << c.label;
    EXPECT_EQ(small.cx, c.small.cx) << c.label;
    EXPECT_EQ(small.cy, c.small.cy) << c.label;
    EXPECT_EQ(big.cx, c.big.cx) << c.label;
    EXPECT_EQ(big.cy, c.big.cy) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, SizeLimitTest,
    ::testing::Values(
        LimitCase{"pop-up", WS_POPUP, false, {0, 0}, {5, 7}, {3000, 2000}},
        LimitCase{"sizing pop-up", WS_POPUP | WS_THICKFRAME, false, {6, 6}, {6, 7}, {1036, 780}},
        LimitCase{"overlapped", WS_OVERLAPPED, false, {112, 27}, {112, 27}, {1036, 780}},
        LimitCase{
            "pop-up with caption", WS_POPUP | WS_CAPTION, false, {0, 0}, {5, 7}, {3000, 2000}},
        LimitCase{"child", WS_CHILD, true, {0, 0}, {5, 7}, {3000, 2000}},
        LimitCase{"sizing child", WS_CHILD | WS_THICKFRAME, true, {6, 6}, {6, 7}, {1036, 780}},
        LimitCase{"document frame",
                  WS_CHILD | WS_OVERLAPPEDWINDOW,
                  true,
                  {112, 27},
                  {112, 27},
                  {1036, 780}}));

TEST_F(ConformanceTest, CreationAppliesTheLimits)
{
    EXPECT_EQ(WindowRect(Make("n", WS_OVERLAPPEDWINDOW, 10, 10, -50, -50)), Rect(10, 10, 122, 37));
    EXPECT_EQ(WindowRect(Make("p", WS_POPUP, 10, 10, -50, -50)), Rect(10, 10, 10, 10));
    EXPECT_EQ(WindowRect(Make("b", WS_OVERLAPPEDWINDOW, 10, 10, 5000, 5000)),
              Rect(10, 10, 1046, 790));
    HWND tiny = Make("t", WS_OVERLAPPEDWINDOW, 10, 10, 5, 5);
    EXPECT_EQ(ClientSize(tiny), Rect(0, 0, 104, 0));
    EXPECT_EQ(ClientOnScreen(tiny).top, 33);
}

TEST_F(ConformanceTest, MapWindowPointsAnswersTheOffset)
{
    HWND parent = Make("P", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300);
    HWND child = Make("c", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent);
    POINT points[2] = {{0, 0}, {10, 10}};
    int offset = MapWindowPoints(child, NULL, points, 2);
    EXPECT_EQ(offset, MAKELONG(54, 73));
    EXPECT_EQ(points[1].x, 64);
    EXPECT_EQ(points[1].y, 83);
    EXPECT_EQ(MapWindowPoints(child, child, points, 2), 0);
    EXPECT_EQ(MapWindowPoints(NULL, NULL, points, 2), 0);
    EXPECT_EQ(MapWindowPoints(reinterpret_cast<HWND>(0x777), NULL, points, 2), 0);
    EXPECT_EQ(points[1].x, 64) << "a bad window moves nothing";
    RECT r = Rect(16, 75, 316, 275);
    HWND app = Make("app", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600);
    EXPECT_EQ(MapWindowPoints(NULL, app, reinterpret_cast<LPPOINT>(&r), 2), -1441796)
        << "MAKELONG(-4, -23) as Wine answers it";
    EXPECT_EQ(r, Rect(12, 52, 312, 252));
    POINT p = {5, 5};
    EXPECT_TRUE(ScreenToClient(child, &p));
    EXPECT_EQ(p.x, -49);
    EXPECT_TRUE(ClientToScreen(child, &p));
    EXPECT_EQ(p.y, 5);
    EXPECT_FALSE(ClientToScreen(reinterpret_cast<HWND>(0x777), &p));
}

// The host's window structure: a frame with a menu bar, the MDI client 30
// pixels into it with a client edge, a document 10, 20 into the client.
TEST_F(ConformanceTest, HostLayoutOrigins)
{
    Host host = MakeHost();
    EXPECT_EQ(ClientOnScreen(host.frame), Rect(4, 42, 796, 596));
    EXPECT_EQ(ClientOnScreen(host.mdi), Rect(6, 74, 794, 594));
    HWND doc = MakeMdiDocument(host, "Orders", 10, 20);
    EXPECT_EQ(WindowRect(doc), Rect(16, 94, 316, 294));
    EXPECT_EQ(ClientSize(doc), Rect(0, 0, 292, 173));
}

}  // namespace
}  // namespace conformance
