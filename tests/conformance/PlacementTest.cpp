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
    EXPECT_TRUE(SetWindowPos(c2, c2, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE))
        << "insert after itself: nothing moves";
    EXPECT_EQ(Titles(parent), (std::vector<std::string>{"c1", "c2", "c3"}));
    // A topmost window made topmost no more goes to the top of the others.
    ASSERT_TRUE(SetWindowPos(c3, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    ASSERT_TRUE(SetWindowPos(c3, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(GetWindowLongA(c3, GWL_EXSTYLE), 0);
    EXPECT_EQ(Titles(parent), (std::vector<std::string>{"c3", "c1", "c2"}));
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

// A move sends WM_MOVE, a size WM_SIZE, and nothing comes when the window
// stays where it was.
TEST_F(ConformanceTest, MovingAndSizingSendMessages)
{
    HWND w = MakeTraced("w", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200);
    Traced().messages.clear();
    ASSERT_TRUE(MoveWindow(w, 10, 20, 300, 200, TRUE));
    EXPECT_TRUE(Traced().messages.empty());
    ASSERT_TRUE(MoveWindow(w, 11, 20, 300, 200, TRUE));
    ASSERT_TRUE(MoveWindow(w, 11, 20, 310, 200, TRUE));
    EXPECT_EQ(Traced().messages, (std::vector<std::string>{"MOVE 15,43", "SIZE 302,173"}));
}

// A child window told of its activation can destroy itself: the call has
// done its part.
TEST_F(ConformanceTest, WindowGoneDuringTheCall)
{
    HWND parent = Make("parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Traced().destroyOn = WM_CHILDACTIVATE;
    HWND child = MakeTraced("child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent);
    Traced().messages.clear();
    EXPECT_TRUE(SetWindowPos(child, HWND_TOP, 5, 5, 0, 0, SWP_NOSIZE));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(Traced().messages,
              (std::vector<std::string>{"HIDE child", "DESTROY child", "NCDESTROY child"}));
}

// A document of the host's window structure is placed in the MDI client's
// client coordinates, and moves with its frame.
TEST_F(ConformanceTest, MoveWindowUsesTheParentsClientCoordinates)
{
    Host host = MakeHost();
    HWND doc = MakeMdiDocument(host, "D", 10, 20);
    ASSERT_TRUE(MoveWindow(doc, -5, -7, 123, 45, TRUE));
    EXPECT_EQ(WindowRect(doc), Rect(1, 67, 124, 112));
    ASSERT_TRUE(MoveWindow(host.frame, 100, 50, 800, 600, FALSE));
    EXPECT_EQ(WindowRect(host.frame), Rect(100, 50, 900, 650));
    EXPECT_EQ(WindowRect(doc), Rect(101, 117, 224, 162)) << "children move with their parent";
    RECT r;
    EXPECT_FALSE(GetWindowRect(kNoWindow, &r));
    EXPECT_FALSE(GetClientRect(kNoWindow, &r));
    EXPECT_TRUE(GetClientRect(host.mdi, &r));
    EXPECT_EQ(r, Rect(0, 0, 788, 520));
}

// The client area is recalculated on a change of size or SWP_FRAMECHANGED
// only; a style write alone leaves the old frame in place.
TEST_F(ConformanceTest, ClientAreaIsKeptUntilTheFrameChanges)
{
    Host host = MakeHost();
    HWND doc = MakeMdiDocument(host, "Orders", 10, 20);
    EXPECT_EQ(ClientSize(doc), Rect(0, 0, 292, 173));
    LONG style = GetWindowLongA(doc, GWL_STYLE);
    EXPECT_EQ(SetWindowLongA(doc, GWL_STYLE, style & ~WS_CAPTION), style);
    EXPECT_EQ(ClientSize(doc), Rect(0, 0, 292, 173));
    RECT r = WindowRect(doc);
    ASSERT_TRUE(SetWindowPos(doc, HWND_NOTOPMOST, 0, 0, 300, 200, 0x4216));
    EXPECT_EQ(ClientSize(doc), Rect(0, 0, 292, 173)) << "the same size is no change";
    ASSERT_TRUE(SetWindowPos(doc, NULL, 0, 0, 0, 0,
                             SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER));
    EXPECT_EQ(ClientSize(doc), Rect(0, 0, 294, 194));
    EXPECT_EQ(ClientOnScreen(doc).left, r.left + 3);
    EXPECT_EQ(WindowRect(doc), r);
}

}  // namespace
}  // namespace conformance
