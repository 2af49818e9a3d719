// Moving, sizing and restacking (winsim/src/Placement.cpp): SetWindowPos
// and the functions built on it. Z orders are read right after the call that
// set them: without a window manager, Wine restacks a window it has just
// shown once it handles its X events.
#include "ConformanceFixture.h"

#include "../common/RectOps.h"

namespace conformance {
namespace {

TEST_F(ConformanceTest, InsertAfterPlacesAndShowsWithoutActivating)
{
    HWND front = Make("Front", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Pump();
    ASSERT_EQ(GetActiveWindow(), front);
    HWND behind =
        Make("Behind", WS_CAPTION | WS_DISABLED, -3, -2, kScreenWidth + 6, kScreenHeight + 4);
    EXPECT_TRUE(SetWindowPos(behind, front, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW));
    EXPECT_EQ(GetWindow(behind, GW_HWNDPREV), front);
    EXPECT_TRUE(IsWindowVisible(behind));
    EXPECT_EQ(GetActiveWindow(), front);
    EXPECT_EQ(GetFocus(), front);
}

TEST_F(ConformanceTest, BottomGoesUnderEveryWindow)
{
    Make("Front", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Pump();
    HWND low = Make("Low", WS_CAPTION | WS_DISABLED);
    EXPECT_TRUE(SetWindowPos(low, HWND_BOTTOM, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW));
    EXPECT_EQ(GetWindow(low, GW_HWNDNEXT), nullptr);
}

TEST_F(FamilyTest, SetWindowPosRestacks)
{
    ASSERT_TRUE(SetWindowPos(c1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(Titles(parent), (std::vector<std::string>{"c2", "c3", "c1"}));
    ASSERT_TRUE(SetWindowPos(c1, c2, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(Titles(parent), (std::vector<std::string>{"c2", "c1", "c3"}));
    ASSERT_TRUE(SetWindowPos(c3, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(Titles(parent), (std::vector<std::string>{"c2", "c1", "c3"}))
        << "no effect on a window that is not topmost";
    ASSERT_TRUE(SetWindowPos(c3, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(Titles(parent), (std::vector<std::string>{"c3", "c2", "c1"}));
    EXPECT_EQ(GetWindowLongA(c3, GWL_EXSTYLE), WS_EX_TOPMOST);
    ASSERT_TRUE(SetWindowPos(c1, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(Titles(parent), (std::vector<std::string>{"c3", "c1", "c2"}))
        << "not above a topmost sibling";
    ASSERT_TRUE(SetWindowPos(c3, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(GetWindowLongA(c3, GWL_EXSTYLE), 0) << "topmost no more";
    EXPECT_EQ(Titles(parent), (std::vector<std::string>{"c1", "c2", "c3"}));
    EXPECT_TRUE(SetWindowPos(c1, parent, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE))
        << "insert after a window that is no sibling: nothing moves";
    EXPECT_EQ(Titles(parent), (std::vector<std::string>{"c1", "c2", "c3"}));
    EXPECT_FALSE(
        SetWindowPos(c1, reinterpret_cast<HWND>(0x7770), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE))
        << "insert after a handle that is no window";
    EXPECT_FALSE(SetWindowPos(reinterpret_cast<HWND>(0x777), NULL, 0, 0, 0, 0, SWP_NOSIZE));
}

TEST_F(FamilyTest, BringingAChildUpActivatesNothing)
{
    HWND other = Make("Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    EXPECT_TRUE(BringWindowToTop(c3));
    EXPECT_EQ(Titles(parent), (std::vector<std::string>{"c3", "c1", "c2"}));
    EXPECT_EQ(GetActiveWindow(), other);
}

TEST_F(FamilyTest, WindowPosCanShowAndHide)
{
    ASSERT_TRUE(SetWindowPos(c2, NULL, 0, 0, 0, 0,
                             SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER));
    EXPECT_FALSE(IsWindowVisible(c2));
    ASSERT_TRUE(SetWindowPos(c2, NULL, 0, 0, 0, 0,
                             SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER));
    EXPECT_TRUE(IsWindowVisible(c2));
    EXPECT_TRUE(Messages().empty()) << "SetWindowPos sends no WM_SHOWWINDOW";
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

}  // namespace
}  // namespace conformance
