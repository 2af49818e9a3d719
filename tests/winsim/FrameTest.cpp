// The stand-in's frames where only its control side can set the scene: a
// screen of another size, the host's window structure and the messages a
// menu bar change sends. What Win32 calls answer about frames is tested in
// tests/conformance/FrameTest.cpp, on the stand-in and under Wine.
#include "WinsimFixture.h"

using namespace winsim_test;

namespace {

TEST_F(WinsimTest, MaximumTrackSizeFollowsTheScreen)
{
    winsim::SetScreenSize(1920, 1080);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CXMAXTRACK), 1932);
    EXPECT_EQ(GetSystemMetrics(SM_CYMAXTRACK), 1092);
}

TEST_F(WinsimTest, HostLayoutOrigins)
{
    Host host = MakeHost(0);
    EXPECT_EQ(winsim::Inspect(host.app).client, Rect(4, 42, 796, 596));
    EXPECT_EQ(winsim::Inspect(host.mdi).client, Rect(6, 74, 702, 470));
    HWND doc = MakeDocument(host, "Orders", WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(ScreenRect(doc), Rect(16, 94, 316, 294));
    EXPECT_EQ(ClientSize(doc), Rect(0, 0, 292, 173));
}

// Wine recalculates the client area only on a size change, SWP_FRAMECHANGED
// or SetMenu; a style write alone leaves the old frame in place.
TEST_F(WinsimTest, ClientAreaIsCachedUntilFrameChanges)
{
    Host host = MakeHost(0);
    HWND doc = MakeDocument(host, "Orders", WS_CHILD | WS_VISIBLE);
    LONG style = GetWindowLongA(doc, GWL_STYLE);
    EXPECT_EQ(SetWindowLongA(doc, GWL_STYLE, style & ~WS_CAPTION), style);
    EXPECT_EQ(ClientSize(doc), Rect(0, 0, 292, 173));
    RECT r = ScreenRect(doc);
    ASSERT_TRUE(SetWindowPos(doc, HWND_NOTOPMOST, 0, 0, 300, 200, 0x4216));
    EXPECT_EQ(ClientSize(doc), Rect(0, 0, 292, 173)) << "the same size is no change";
    ASSERT_TRUE(SetWindowPos(doc, NULL, 0, 0, 0, 0,
                             SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER));
    EXPECT_EQ(ClientSize(doc), Rect(0, 0, 294, 194));
    EXPECT_EQ(winsim::Inspect(doc).client.left, r.left + 3);
    EXPECT_EQ(ScreenRect(doc), r);
}

TEST_F(WinsimTest, MenuBarChangesTheClientArea)
{
    Host host = MakeHost(0);
    HMENU menu = GetMenu(host.app);
    ASSERT_TRUE(IsMenu(menu));
    Messages().clear();
    ASSERT_TRUE(SetMenu(host.app, NULL));
    EXPECT_EQ(winsim::Inspect(host.app).client, Rect(4, 23, 796, 596));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"MOVE 4,23", "SIZE 792,573"}));
    EXPECT_EQ(GetMenu(host.app), nullptr);
    ASSERT_TRUE(SetMenu(host.app, menu));
    EXPECT_EQ(winsim::Inspect(host.app).client, Rect(4, 42, 796, 596));
    EXPECT_EQ(GetMenu(host.app), menu);
}

}  // namespace
