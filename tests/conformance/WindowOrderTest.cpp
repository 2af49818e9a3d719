// Top-level windows: their Z order, which window is active, whom they
// belong to, and the searches that go through them in that order. Z orders
// are read right after the call that set them: without a window manager,
// Wine restacks a window it has just shown once it handles its X events.
#include "ConformanceFixture.h"

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

TEST_F(ConformanceTest, AncestorsOfChildAndOwnedWindows)
{
    HWND owner = Make("Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND popup = Make("Owned", WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50, 200, 150, owner);
    HWND child = Make("Child", WS_CHILD | WS_VISIBLE, 5, 5, 50, 50, popup);
    EXPECT_EQ(GetAncestor(child, GA_PARENT), popup);
    EXPECT_EQ(GetAncestor(child, GA_ROOT), popup);
    EXPECT_EQ(GetAncestor(child, GA_ROOTOWNER), owner);
    EXPECT_EQ(GetAncestor(popup, GA_ROOT), popup);
    EXPECT_EQ(GetAncestor(popup, GA_ROOTOWNER), owner);
    EXPECT_EQ(GetAncestor(owner, GA_ROOTOWNER), owner);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
}

TEST_F(ConformanceTest, WindowsBelongToTheirThreadAndProcess)
{
    HWND window = Make("Own", WS_OVERLAPPEDWINDOW);
    DWORD process = 0xdeadbeef;
    EXPECT_EQ(GetWindowThreadProcessId(window, &process), GetCurrentThreadId());
    EXPECT_EQ(process, GetCurrentProcessId());
    EXPECT_EQ(GetWindowThreadProcessId(window, NULL), GetCurrentThreadId());
    EXPECT_EQ(GetWindowThreadProcessId(NULL, &process), 0u) << "no window, no thread";
}

// A new top-level window goes on top; the search goes down the Z order and
// carries on after the window it is given.
TEST_F(ConformanceTest, SearchGoesDownTheZOrder)
{
    HWND first = Make("Same", WS_OVERLAPPEDWINDOW);
    HWND second = Make("Same", WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(FindWindowA("ConformanceProbe", "Same"), second);
    EXPECT_EQ(FindWindowExA(NULL, second, "ConformanceProbe", "same"), first);
    EXPECT_EQ(FindWindowExA(NULL, first, "ConformanceProbe", "Same"), nullptr);
    EXPECT_EQ(FindWindowExA(NULL, NULL, "ConformanceProbe", ""), nullptr)
        << "an empty title names only an untitled window";
}

}  // namespace
}  // namespace conformance
