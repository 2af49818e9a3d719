// Showing and enabling windows (winsim/src/Visibility.cpp): what ShowWindow
// and EnableWindow answer and send, and a child's visibility under a hidden
// parent.
#include "ConformanceFixture.h"

namespace conformance {
namespace {

TEST_F(FamilyTest, ShowWindowAnswersThePreviousVisibility)
{
    EXPECT_EQ(ShowWindow(c1, SW_HIDE), TRUE);
    EXPECT_EQ(ShowWindow(c1, SW_HIDE), FALSE);
    EXPECT_EQ(ShowWindow(c1, SW_SHOW), FALSE);
    EXPECT_EQ(ShowWindow(c1, SW_SHOW), TRUE);
    EXPECT_EQ(ShowWindow(c1, SW_SHOWNORMAL), TRUE);
    EXPECT_EQ(ShowWindow(reinterpret_cast<HWND>(0x777), SW_SHOW), FALSE);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"HIDE c1", "SHOW c1"}));
}

// Wine shows a child without raising it or activating anything.
TEST_F(FamilyTest, ShowingAChildKeepsItsPlace)
{
    HWND other = Make("Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ShowWindow(c1, SW_HIDE);
    EXPECT_EQ(ShowWindow(c1, SW_SHOWNORMAL), FALSE);
    EXPECT_EQ(Titles(parent), (std::vector<std::string>{"c1", "c2", "c3"}));
    EXPECT_TRUE(OwnVisibleBit(c1));
    EXPECT_EQ(GetActiveWindow(), other);
}

// Hiding a window that is not active never activates it, nor anything else.
TEST_F(ConformanceTest, HidingAnInactiveWindowKeepsTheActiveOne)
{
    HWND other = Make("Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 300);
    HWND active = Make("Active", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Pump();
    ASSERT_EQ(GetActiveWindow(), active);
    EXPECT_TRUE(ShowWindow(other, SW_HIDE)) << "it was visible";
    EXPECT_EQ(GetActiveWindow(), active);
    EXPECT_EQ(GetFocus(), active);
    EXPECT_FALSE(ShowWindow(other, SW_SHOWNA)) << "it was hidden";
    EXPECT_EQ(GetActiveWindow(), active);
}

TEST_F(FamilyTest, VisibilityNeedsTheParentShown)
{
    ShowWindow(parent, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(c1));
    EXPECT_TRUE(OwnVisibleBit(c1)) << "its own bit stays";
    EXPECT_EQ(ShowWindow(c1, SW_HIDE), TRUE);
    EXPECT_FALSE(OwnVisibleBit(c1));
    EXPECT_FALSE(IsWindowVisible(reinterpret_cast<HWND>(0x777)));
}

TEST_F(FamilyTest, EnableWindowAnswersThePreviousDisabledState)
{
    EXPECT_EQ(EnableWindow(c1, FALSE), FALSE);
    EXPECT_EQ(EnableWindow(c1, FALSE), TRUE);
    EXPECT_FALSE(IsWindowEnabled(c1));
    EXPECT_EQ(EnableWindow(c1, TRUE), TRUE);
    EXPECT_EQ(EnableWindow(c1, TRUE), FALSE);
    EXPECT_EQ(EnableWindow(c1, FALSE), FALSE);
    EXPECT_EQ(EnableWindow(c1, 5), TRUE) << "any nonzero value enables";
    EXPECT_TRUE(IsWindowEnabled(c1));
    EXPECT_EQ(EnableWindow(reinterpret_cast<HWND>(0x777), TRUE), FALSE);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"DISABLE c1", "ENABLE c1", "DISABLE c1", "ENABLE c1"}));
    EnableWindow(parent, FALSE);
    EXPECT_TRUE(IsWindowEnabled(c1)) << "only the window's own bit counts";
}

// Under a hidden parent, hiding a child that has the focus gives the focus
// to the parent.
TEST_F(FamilyTest, FocusUnderAHiddenParent)
{
    ShowWindow(parent, SW_HIDE);
    SetFocus(c1);
    ASSERT_EQ(GetFocus(), c1);
    ShowWindow(c1, SW_HIDE);
    EXPECT_EQ(GetFocus(), parent);
}

// A command that is none answers the visibility and changes nothing.
TEST_F(FamilyTest, UnknownCommandChangesNothing)
{
    EXPECT_EQ(ShowWindow(c1, 99), TRUE);
    EXPECT_TRUE(IsWindowVisible(c1));
    ShowWindow(c1, SW_HIDE);
    EXPECT_EQ(ShowWindow(c1, 99), FALSE);
    EXPECT_FALSE(IsWindowVisible(c1));
}

// A top-level window that a minimizing or maximizing command shows: the
// stand-in shows it at its normal place, where Wine minimizes or maximizes
// it; what both do is show it, with or without the activation.
TEST_F(ConformanceTest, TopLevelShownByAStateCommand)
{
    HWND active = Make("Active", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Pump();
    HWND minimized = Make("Min", WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(ShowWindow(minimized, SW_SHOWMINNOACTIVE), FALSE);
    EXPECT_TRUE(IsWindowVisible(minimized));
    EXPECT_EQ(GetActiveWindow(), active);
    HWND maximized = Make("Max", WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(ShowWindow(maximized, SW_SHOWMAXIMIZED), FALSE);
    EXPECT_TRUE(IsWindowVisible(maximized));
    EXPECT_EQ(GetActiveWindow(), maximized);
}

// A window can destroy itself when it is told it is shown, or sized by a
// change of state: ShowWindow answers what it was.
TEST_F(ConformanceTest, WindowGoneWhileShown)
{
    Traced().destroyOn = WM_SHOWWINDOW;
    HWND shown = MakeTraced("shown", WS_POPUP);
    EXPECT_EQ(ShowWindow(shown, SW_SHOW), FALSE);
    EXPECT_FALSE(IsWindow(shown));
    HWND parent = Make("parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Traced().destroyOn = 0;
    HWND child =
        MakeTraced("child", WS_CHILD | WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, parent);
    Traced().destroyOn = WM_SIZE;
    EXPECT_EQ(ShowWindow(child, SW_MINIMIZE), TRUE);
    EXPECT_FALSE(IsWindow(child));
}

// Wine answers TRUE even for a handle that is no window.
TEST_F(ConformanceTest, UpdateWindowAnswersTrue)
{
    EXPECT_TRUE(UpdateWindow(Make("w", WS_OVERLAPPEDWINDOW | WS_VISIBLE)));
    EXPECT_TRUE(UpdateWindow(kNoWindow));
}

}  // namespace
}  // namespace conformance
