// Showing, enabling, stacking, activating and focusing windows, and the
// coordinate functions. The Z orders are read right after the call that set
// them, before any message is handled.
#include "ConformanceFixture.h"

#include "../common/RectOps.h"

#include <algorithm>

namespace conformance {
namespace {

inline RECT Rect(LONG left, LONG top, LONG right, LONG bottom)
{
    return {left, top, right, bottom};
}

class FamilyTest : public ConformanceTest {
protected:
    void SetUp() override
    {
        ConformanceTest::SetUp();
        parent = Make("P", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300);
        c1 = Make("c1", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent);
        c2 = Make("c2", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent);
        c3 = Make("c3", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent);
        Messages().clear();
    }
    HWND parent = NULL, c1 = NULL, c2 = NULL, c3 = NULL;
};

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

TEST_F(FamilyTest, BringingAChildUpActivatesNothing)
{
    HWND other = Make("Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    EXPECT_TRUE(BringWindowToTop(c3));
    EXPECT_EQ(Titles(parent), (std::vector<std::string>{"c3", "c1", "c2"}));
    EXPECT_EQ(GetActiveWindow(), other);
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

TEST_F(FamilyTest, FocusFollowsWineRules)
{
    HWND other = Make("Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_EQ(GetFocus(), other);
    // Activating P on the way gives P the focus first.
    EXPECT_EQ(SetFocus(c2), parent);
    EXPECT_EQ(GetActiveWindow(), parent);
    EXPECT_EQ(SetFocus(c3), c2);
    EnableWindow(c1, FALSE);
    EXPECT_EQ(SetFocus(c1), nullptr);
    EXPECT_EQ(GetFocus(), c3);
    EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x777)), nullptr);
    EXPECT_EQ(EnableWindow(c3, FALSE), FALSE);
    EXPECT_EQ(GetFocus(), nullptr) << "a disabled window loses the focus";
    EnableWindow(c3, TRUE);
    SetFocus(c3);
    ShowWindow(c3, SW_HIDE);
    EXPECT_EQ(GetFocus(), parent) << "hiding gives the focus to the parent";
    ShowWindow(c3, SW_SHOW);
    SetFocus(c3);
    EXPECT_EQ(SetFocus(NULL), c3);
    EXPECT_EQ(GetFocus(), nullptr);
    SetFocus(c3);
    DestroyWindow(c3);
    EXPECT_EQ(GetFocus(), parent);
}

TEST_F(ConformanceTest, TopLevelActivation)
{
    HWND t1 = Make("T1", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    HWND t2 = Make("T2", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    EXPECT_EQ(GetActiveWindow(), t2);
    HWND t3 = Make("T3", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
    EXPECT_EQ(GetActiveWindow(), t2) << "a hidden window is not activated";
    EXPECT_EQ(SetActiveWindow(t1), t2);
    EXPECT_EQ(Titles(NULL), (std::vector<std::string>{"T3", "T2", "T1"}))
        << "Wine does not raise an activated window";
    EXPECT_EQ(ShowWindow(t3, SW_SHOWNOACTIVATE), FALSE);
    EXPECT_EQ(GetActiveWindow(), t1);
    ShowWindow(t3, SW_HIDE);
    EXPECT_EQ(ShowWindow(t3, SW_SHOW), FALSE);
    EXPECT_EQ(GetActiveWindow(), t3);
    EXPECT_TRUE(BringWindowToTop(t1));
    EXPECT_EQ(Titles(NULL), (std::vector<std::string>{"T1", "T3", "T2"}));
    EXPECT_EQ(GetActiveWindow(), t1);
    ShowWindow(t1, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), t3) << "the next window down takes over";
    HWND child = Make("child", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, t3);
    EXPECT_EQ(SetActiveWindow(child), t3);
    EXPECT_EQ(GetActiveWindow(), t3) << "a child cannot be active";
    EXPECT_EQ(SetActiveWindow(t1), t3) << "a hidden window can be";
    EXPECT_EQ(GetActiveWindow(), t1);
    DestroyWindow(t1);
    EXPECT_EQ(GetActiveWindow(), t3);
}

// When the activation moves to another thread, every top-level window of
// the thread that lost it is told, and of the one that gains it, hidden
// and disabled windows too; the window activated is active by then.
TEST_F(ConformanceTest, ActivateAppReachesEveryTopLevelWindowOfTheThread)
{
    HWND a = Make("A", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200);
    Make("Hidden", WS_POPUP | WS_DISABLED, 0, 0, 100, 100, NULL,
         WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    HWND b = MakeOnOtherThread("B", WS_OVERLAPPEDWINDOW | WS_VISIBLE, false);
    SetForegroundWindow(a);
    Pump();
    Messages().clear();
    EXPECT_TRUE(SetForegroundWindow(b));
    Pump();
    SyncOtherThread();
    EXPECT_EQ(GetForegroundWindow(), b);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    std::vector<std::string> lost = Messages();
    std::sort(lost.begin(), lost.end());
    EXPECT_EQ(lost, (std::vector<std::string>{"DEACTIVATEAPP A", "DEACTIVATEAPP Hidden"}));
    Messages().clear();
    EXPECT_TRUE(SetForegroundWindow(a));
    std::vector<std::string> gained = Messages();
    std::sort(gained.begin(), gained.end());
    EXPECT_EQ(gained,
              (std::vector<std::string>{"ACTIVATEAPP A active=A", "ACTIVATEAPP Hidden active=A"}));
    EXPECT_EQ(GetForegroundWindow(), a);
    EXPECT_EQ(GetActiveWindow(), a);
}

// A click on a disabled window leaves the activation where it is; a click
// on another window activates it without raising it. When the active window
// goes, the system passes over the disabled one. (WS_EX_NOACTIVATE is left
// out: Wine 8 activates such a window on a click and hands it the
// activation, which Windows does not.)
TEST_F(ConformanceTest, ClicksAndDisabledWindows)
{
    HWND below = Make("Below", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200);
    HWND disabled = Make("Disabled", WS_POPUP | WS_VISIBLE | WS_DISABLED, 700, 0, 200, 150);
    HWND top = Make("Top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 350, 0, 300, 200);
    EXPECT_EQ(GetActiveWindow(), top);
    ClickAt(disabled, {800, 75});
    EXPECT_EQ(GetActiveWindow(), top);
    ClickAt(below, {150, 100});
    EXPECT_EQ(GetActiveWindow(), below);
    EXPECT_EQ(Titles(NULL), (std::vector<std::string>{"Top", "Disabled", "Below"}));
    EXPECT_EQ(SetActiveWindow(top), below);
    SetWindowPos(disabled, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(top);
    EXPECT_EQ(GetActiveWindow(), below);
}

// ShowWindowAsync acts at once on the caller's own windows and answers as
// ShowWindow does; a hung thread's window takes the request when the
// thread wakes, and the call answers that it was posted.
TEST_F(ConformanceTest, ShowWindowAsyncNeverWaits)
{
    HWND own = Make("Own", WS_POPUP, 0, 0, 100, 100);
    EXPECT_EQ(ShowWindowAsync(own, SW_SHOWNA), FALSE);
    EXPECT_TRUE(IsWindowVisible(own));
    EXPECT_EQ(ShowWindowAsync(own, SW_HIDE), TRUE);
    EXPECT_FALSE(IsWindowVisible(own));

    HWND hung = MakeOnOtherThread("Hung", WS_POPUP | WS_VISIBLE, true);
    EXPECT_NE(ShowWindowAsync(hung, SW_HIDE), FALSE);
    EXPECT_TRUE(IsWindowVisible(hung)) << "not yet: the thread answers nothing";
    EXPECT_FALSE(OtherThreadAwake());
    WakeOtherThread();
    SyncOtherThread();
    EXPECT_FALSE(IsWindowVisible(hung));
}

// ShowWindow on a hung thread's window waits until the thread answers.
TEST_F(ConformanceTest, ShowWindowWaitsForAHungThread)
{
    HWND hung = MakeOnOtherThread("Hung", WS_POPUP | WS_VISIBLE, true);
    WakeOtherThreadSoon();
    ShowWindow(hung, SW_HIDE);
    EXPECT_TRUE(OtherThreadAwake());
    EXPECT_FALSE(IsWindowVisible(hung));
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

}  // namespace
}  // namespace conformance
