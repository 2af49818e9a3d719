// The control side's screen, cursor counter, beeps and task bar.
#include "WinsimFixture.h"

#include <cstring>

using namespace winsim_test;

namespace {

TEST_F(WinsimTest, MaximumTrackSizeFollowsTheScreen)
{
    winsim::SetScreenSize(1920, 1080);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CXMAXTRACK), 1932);
    EXPECT_EQ(GetSystemMetrics(SM_CYMAXTRACK), 1092);
}

TEST_F(WinsimTest, CursorCounterCanBeSetAndRead)
{
    EXPECT_EQ(winsim::CursorCount(), 0);
    EXPECT_EQ(ShowCursor(FALSE), -1);
    winsim::SetCursorCount(7);
    EXPECT_EQ(ShowCursor(TRUE), 8);
    EXPECT_EQ(winsim::CursorCount(), 8);
}

TEST_F(WinsimTest, BeepsAreRecorded)
{
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_TRUE(MessageBeep(0x30));
    EXPECT_EQ(winsim::Beeps(), (std::vector<UINT>{0, 0x30}));
    EXPECT_EQ(winsim::CallsTo("MessageBeep")[1].args[0], "0x30");
}

TEST_F(WinsimTest, TaskBarIsAShellWindowAtTheBottom)
{
    HWND active = Make("app", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND bar = winsim::CreateTaskBar();
    winsim::WindowInfo info = winsim::Inspect(bar);
    EXPECT_EQ(info.className, "Shell_TrayWnd");
    EXPECT_EQ(info.title, "");
    EXPECT_EQ(static_cast<DWORD>(info.style), 0x94000000u);
    EXPECT_EQ(static_cast<DWORD>(info.exStyle), 0x08000000u);
    EXPECT_EQ(info.rect, Rect(0, 738, 1024, 768));
    EXPECT_EQ(winsim::ActiveWindow(), active) << "it never takes activation";
    EXPECT_EQ(winsim::Children(NULL).front(), bar);
    EXPECT_EQ(FindWindowExA(NULL, NULL, "shell_traywnd", ""), bar);
    EXPECT_TRUE(winsim::RegisteredClasses() == std::vector<std::string>{"Probe"});
    BringWindowToTop(active);
    EXPECT_EQ(winsim::Children(NULL).front(), active) << "it is not topmost";
}

}  // namespace
