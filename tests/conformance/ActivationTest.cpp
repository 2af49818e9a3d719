// The active window, the foreground window and the keyboard focus
// (winsim/src/Activation.cpp), and WM_ACTIVATEAPP when the activation moves
// to another thread.
#include "ConformanceFixture.h"

#include <algorithm>

namespace conformance {
namespace {

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

// When the activation moves to another thread, every top-level window of
// the thread that lost it is told, and of the one that gains it, hidden
// and disabled windows too; the window activated is active by then.
TEST_F(ConformanceTest, ActivateAppReachesEveryTopLevelWindowOfTheThread)
{
    HWND a = Make("A", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200);
    Make("Hidden", WS_POPUP | WS_DISABLED, 0, 0, 100, 100, NULL,
         WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    // B is shown without being activated: an activation on its own thread
    // gives it the X focus, and that thread, run late on a loaded machine,
    // would take the foreground back once the measurement has begun.
    HWND b = MakeOnOtherThread("B", WS_OVERLAPPEDWINDOW, false);
    ShowWindow(b, SW_SHOWNA);
    SetForegroundWindow(a);
    Pump();
    SyncOtherThread();
    ASSERT_EQ(GetForegroundWindow(), a);
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

}  // namespace
}  // namespace conformance
