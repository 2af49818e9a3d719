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

}  // namespace
}  // namespace conformance
