// The window words and the window text (winsim/src/Styles.cpp): style writes
// under Wine's rules.
#include "ConformanceFixture.h"

namespace conformance {
namespace {

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

}  // namespace
}  // namespace conformance
