// Frames: metrics, AdjustWindowRectEx, the style fix-ups of creation, the
// client area and when it is recalculated, and the size limits. The numbers
// were read back from the same calls under Wine 8 on a 1024 by 768 screen;
// the tests hold the stand-in and Wine to them alike.
#include "ConformanceFixture.h"

#include "../common/RectOps.h"

namespace conformance {
namespace {

inline RECT Rect(LONG left, LONG top, LONG right, LONG bottom)
{
    return {left, top, right, bottom};
}

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

struct CreateCase {
    const char *label;
    DWORD style;
    DWORD exStyle;
    bool child;  // made in a top-level parent
    DWORD readStyle;
    DWORD readExStyle;
};

class CreationFixupTest : public ConformanceTest,
                          public ::testing::WithParamInterface<CreateCase> {};

TEST_P(CreationFixupTest, StylesReadBackAsWine)
{
    const CreateCase &c = GetParam();
    HWND parent = c.child ? Make("parent", WS_OVERLAPPEDWINDOW) : NULL;
    HWND window = Make("w", c.style, 10, 20, 300, 200, parent, c.exStyle);
    ASSERT_NE(window, nullptr) << c.label;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), c.readStyle) << c.label;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)), c.readExStyle) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Styles, CreationFixupTest,
    ::testing::Values(
        CreateCase{"overlapped gets caption", 0, 0, false, 0x04c00000, 0x100},
        CreateCase{"pop-up", WS_POPUP, 0, false, 0x84000000, 0},
        CreateCase{"pop-up sizing", WS_POPUP | WS_THICKFRAME, 0, false, 0x84040000, 0x100},
        CreateCase{"static edge wins", WS_POPUP | WS_THICKFRAME, WS_EX_STATICEDGE, false,
                   0x84040000, 0x20000},
        CreateCase{"edge without frame dropped", WS_POPUP, WS_EX_WINDOWEDGE, false, 0x84000000, 0},
        CreateCase{"modal frame brings edge", WS_POPUP, WS_EX_DLGMODALFRAME, false, 0x84000000,
                   0x101},
        CreateCase{"tool window", WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, false, 0x84c00000,
                   0x180},
        CreateCase{"cover window", WS_DISABLED | WS_CAPTION, 0, false, 0x0cc00000, 0x100},
        CreateCase{"child", WS_CHILD, 0, true, 0x40000000, 0},
        CreateCase{"sizing child", WS_CHILD | WS_THICKFRAME, 0, true, 0x40040000, 0x100},
        CreateCase{"child and pop-up is top-level", WS_CHILD | WS_POPUP, 0, true, 0xc4000000, 0}));

TEST_F(ConformanceTest, CoverWindowGeometry)
{
    HWND cover = Make("Background (Loomvane)", WS_DISABLED | WS_CAPTION, -3, -2, 1030, 772);
    EXPECT_EQ(WindowRect(cover), Rect(-3, -2, 1027, 770));
    EXPECT_EQ(ClientOnScreen(cover), Rect(0, 20, 1024, 767));
    EXPECT_FALSE(IsWindowEnabled(cover));
    EXPECT_FALSE(IsWindowVisible(cover));
}

// A menu bar of one line takes 19 pixels of the client area; SetMenu takes
// no child's menu and no handle that is not a menu, and a destroyed menu's
// handle stays with its window.
TEST_F(ConformanceTest, MenuBarTakesClientRoom)
{
    HWND app = Make("Host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600);
    HWND child = Make("Child", WS_CHILD, 0, 0, 50, 50, app);
    HMENU menu = CreateMenu();
    ASSERT_TRUE(AppendMenuA(menu, MF_STRING, 1, "&File"));
    ASSERT_TRUE(SetMenu(app, menu));
    EXPECT_EQ(ClientOnScreen(app), Rect(4, 42, 796, 596));
    ASSERT_TRUE(SetMenu(app, NULL));
    EXPECT_EQ(ClientOnScreen(app), Rect(4, 23, 796, 596));
    EXPECT_EQ(GetMenu(app), nullptr);
    EXPECT_FALSE(SetMenu(child, menu)) << "a child has no menu bar";
    EXPECT_FALSE(SetMenu(app, reinterpret_cast<HMENU>(0x1234)));
    EXPECT_EQ(GetMenu(app), nullptr);
    ASSERT_TRUE(SetMenu(app, menu));
    EXPECT_EQ(GetMenu(app), menu);
    EXPECT_EQ(ClientOnScreen(app), Rect(4, 42, 796, 596));
    ASSERT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(DestroyMenu(menu));
    EXPECT_EQ(GetMenu(app), menu) << "the window keeps the handle";
}

TEST_F(ConformanceTest, ScrollBarsTakeClientRoom)
{
    HWND window = Make("s", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, 0, 200, 100);
    EXPECT_EQ(ClientSize(window), Rect(0, 0, 183, 83));
}

TEST_F(ConformanceTest, ResizeRecalculatesAndMoveKeepsClientOffset)
{
    HWND window = Make("w", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200);
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WS_POPUP));
    ASSERT_TRUE(MoveWindow(window, 50, 60, 300, 200, TRUE));
    EXPECT_EQ(ClientOnScreen(window), Rect(54, 83, 346, 256)) << "moved, not recalculated";
    ASSERT_TRUE(MoveWindow(window, 50, 60, 301, 200, TRUE));
    EXPECT_EQ(ClientOnScreen(window), Rect(50, 60, 351, 260));
}

// A style write re-applies the window-edge rule both ways; WS_EX_TOPMOST
// changes only through SetWindowPos and top-level windows keep WS_CLIPSIBLINGS.
TEST_F(ConformanceTest, StyleWritesFollowWineRules)
{
    HWND top = Make("top", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND w = Make("w", WS_CHILD | WS_VISIBLE | WS_THICKFRAME, 5, 6, 100, 80, top);
    EXPECT_EQ(SetWindowLongA(w, GWL_EXSTYLE, 0), 0x100);
    EXPECT_EQ(GetWindowLongA(w, GWL_EXSTYLE), 0x100);
    SetWindowLongA(w, GWL_STYLE, WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(GetWindowLongA(w, GWL_EXSTYLE), 0);
    SetWindowLongA(w, GWL_EXSTYLE, WS_EX_WINDOWEDGE);
    EXPECT_EQ(GetWindowLongA(w, GWL_EXSTYLE), 0);
    SetWindowLongA(w, GWL_STYLE, WS_CHILD | WS_VISIBLE | WS_DLGFRAME);
    EXPECT_EQ(GetWindowLongA(w, GWL_EXSTYLE), 0x100);
    SetWindowLongA(w, GWL_EXSTYLE, WS_EX_STATICEDGE | WS_EX_TOPMOST);
    EXPECT_EQ(GetWindowLongA(w, GWL_EXSTYLE), WS_EX_STATICEDGE);
    SetWindowLongA(w, GWL_STYLE, WS_CHILD | WS_DLGFRAME);
    EXPECT_FALSE(IsWindowVisible(w)) << "the style bit is the visibility";
    SetWindowLongA(top, GWL_STYLE, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    EXPECT_EQ(GetWindowLongA(top, GWL_STYLE), 0x14cf0000);
    EXPECT_EQ(SetWindowLongA(w, GWL_ID, 77), 0);
    EXPECT_EQ(GetWindowLongA(w, GWL_ID), 77);
    EXPECT_EQ(GetWindowLongA(w, -99), 0);
    EXPECT_EQ(GetWindowLongA(reinterpret_cast<HWND>(0x777), GWL_STYLE), 0);
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

}  // namespace
}  // namespace conformance
