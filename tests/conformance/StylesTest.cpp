// The window words and the window text (winsim/src/Styles.cpp): style writes
// under Wine's rules, and a window's procedure replaced.
#include "ConformanceFixture.h"

namespace conformance {
namespace {

// A procedure that keeps the window from closing, and one that counts the
// texts it is given.
LRESULT CALLBACK StayOpen(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
        return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

int gTexts = 0;
LRESULT CALLBACK CountTexts(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT)
        ++gTexts;
    return DefWindowProcA(window, message, wParam, lParam);
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

// SetWindowLongPtrA with GWLP_WNDPROC answers the procedure the window had,
// and its messages go to the new one from then on; the other words are
// those of SetWindowLongA.
TEST_F(ConformanceTest, WindowProcedureReplaced)
{
    ASSERT_NE(Register("ConformanceStayOpen", StayOpen), 0);
    HWND parent = Make("parent", WS_OVERLAPPEDWINDOW);
    HWND w = MakeOf("ConformanceStayOpen", "w", WS_CHILD, 0, 0, 9, 9, parent);
    SendMessageA(w, WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(w));
    gTexts = 0;
    EXPECT_EQ(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountTexts)),
              reinterpret_cast<LONG_PTR>(StayOpen));
    EXPECT_TRUE(SetWindowTextA(w, "counted"));
    EXPECT_EQ(gTexts, 1);
    EXPECT_EQ(TextOf(w), "counted");
    EXPECT_EQ(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA)),
              reinterpret_cast<LONG_PTR>(CountTexts));
    SetWindowTextA(w, "not counted");
    EXPECT_EQ(gTexts, 1);
    EXPECT_EQ(SetWindowLongPtrA(w, GWL_ID, 9), 0);
    EXPECT_EQ(SetWindowLongPtrA(w, GWL_ID, 10), 9);
    EXPECT_EQ(GetWindowLongA(w, GWL_ID), 10);
    EXPECT_EQ(SetWindowLongPtrA(w, -99, 5), 0);
    EXPECT_EQ(
        SetWindowLongPtrA(kNoWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA)), 0);
    SendMessageA(w, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(w)) << "DefWindowProcA closes it";
}

}  // namespace
}  // namespace conformance
