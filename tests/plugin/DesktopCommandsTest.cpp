// The task bar, the cursor and the cover window.
#include "DesktopFixture.h"

using namespace loomvane_test;

namespace {

TEST_F(DesktopTest, TaskBarCommandsHideAndShowEveryTaskBar)
{
    StartHost();
    HWND primary;
    HWND second;
    HWND third;
    {
        winsim::Quiet quiet;
        primary = winsim::CreateTaskBar();
        second = winsim::CreateTaskBar("Shell_SecondaryTrayWnd");
        third = winsim::CreateTaskBar("Shell_SecondaryTrayWnd");
    }
    EXPECT_EQ(Call(kDoHideTaskBar, "ignored text"), "1");
    for (HWND bar : {primary, second, third})
        EXPECT_FALSE(winsim::Inspect(bar).visible);
    EXPECT_EQ(winsim::CallsTo("FindWindowExA")[0].args,
              (std::vector<std::string>{"NULL", "NULL", "\"Shell_TrayWnd\"", "\"\""}));

    HWND active = winsim::ActiveWindow();
    EXPECT_EQ(Call(kDoShowTaskBar), "1");
    for (HWND bar : {primary, second, third})
        EXPECT_TRUE(winsim::Inspect(bar).visible);
    EXPECT_EQ(winsim::Children(NULL).front(), host_.app) << "the host comes back on top";
    EXPECT_EQ(FormattedCalls("BringWindowToTop"),
              std::vector<std::string>{"BringWindowToTop(" + winsim::Str(host_.app) + ") = 1"});
    (void)active;
}

TEST_F(DesktopTest, TaskBarCommandsWithoutTaskBarOrHost)
{
    Start();
    EXPECT_EQ(Call(kDoHideTaskBar), "1");
    EXPECT_EQ(Call(kDoShowTaskBar), "1");
    EXPECT_EQ(winsim::CountCalls("BringWindowToTop"), 0u);
    EXPECT_EQ(winsim::CallsTo("FindWindowA").back().args[0], "\"FMPRO5APP\"");
}

TEST_F(DesktopTest, ShowTaskBarRaisesGenerationThreeHost)
{
    StartHost(3);
    EXPECT_EQ(Call(kDoShowTaskBar, "xyz"), "1");
    EXPECT_EQ(winsim::CallsTo("FindWindowA").back().args[0], "\"FMPRO3APP\"");
    EXPECT_EQ(winsim::CountCalls("BringWindowToTop"), 1u);
}

struct CursorCase {
    uint32_t id;
    int before;
    const char *answer;
    int after;
    size_t calls;  // ShowCursor calls, the two probing ones included
};

class CursorTest : public PluginTest, public ::testing::WithParamInterface<CursorCase> {};

TEST_P(CursorTest, DrivesTheCounter)
{
    const CursorCase &c = GetParam();
    Start();
    winsim::SetCursorCount(c.before);
    EXPECT_EQ(Call(c.id, "anything"), c.answer) << "from " << c.before;
    EXPECT_EQ(winsim::CursorCount(), c.after) << "from " << c.before;
    EXPECT_EQ(winsim::CountCalls("ShowCursor"), c.calls) << "from " << c.before;
}

INSTANTIATE_TEST_SUITE_P(
    Counter, CursorTest,
    ::testing::Values(CursorCase{kDoHideCursor, -1, "0", -1, 2},
                      CursorCase{kDoHideCursor, -8, "0", -8, 2},
                      CursorCase{kDoHideCursor, 0, "1", -8, 10},
                      CursorCase{kDoHideCursor, 11, "1", -8, 21},
                      CursorCase{kDoHideCursor, 12, "1", -7, 21},
                      CursorCase{kDoHideCursor, 15, "1", -4, 21},
                      CursorCase{kDoHideCursor, 18, "1", -1, 21},
                      CursorCase{kDoHideCursor, 19, "0", 0, 21},
                      CursorCase{kDoHideCursor, 30, "0", 11, 21},
                      CursorCase{kDoShowCursor, 0, "0", 0, 2},
                      CursorCase{kDoShowCursor, 5, "0", 5, 2},
                      CursorCase{kDoShowCursor, -1, "1", 0, 3},
                      CursorCase{kDoShowCursor, -8, "1", 0, 10},
                      CursorCase{kDoShowCursor, -19, "1", 0, 21},
                      CursorCase{kDoShowCursor, -20, "0", -1, 21},
                      CursorCase{kDoShowCursor, -25, "0", -6, 21}));

TEST_F(PluginTest, HideCursorTwiceFromZero)
{
    Start();
    EXPECT_EQ(Call(kDoHideCursor), "1");
    EXPECT_EQ(Call(kDoHideCursor), "0");
    EXPECT_EQ(winsim::CursorCount(), -8);
    EXPECT_EQ(Call(kDoShowCursor), "1");
    EXPECT_EQ(winsim::CursorCount(), 0);
}

TEST_F(PluginTest, CoverWindowIsCreatedOverTheScreen)
{
    winsim::SetScreenSize(1024, 768);
    Start();
    ASSERT_EQ(Call(kDoHideBackground, "ignored"), "1");
    auto creates = FormattedCalls("CreateWindowExA");
    HWND cover = gPluginState.coverWindow;
    ASSERT_EQ(creates.size(), 1u);
    EXPECT_EQ(creates[0], "CreateWindowExA(0x0, \"Kwzr-HideBackground\", \"Background (Loomvane)\", "
                          "0x8c00000, -3, -2, 1030, 772, NULL, NULL, " +
                              winsim::Str(TestInstance()) + ", NULL) = " + winsim::Str(cover));
    winsim::WindowInfo info = winsim::Inspect(cover);
    EXPECT_TRUE(info.visible);
    EXPECT_FALSE(info.enabled);
    EXPECT_EQ(info.rect, Rect(-3, -2, 1027, 770));
    EXPECT_EQ(info.className, "Kwzr-HideBackground");
    EXPECT_EQ(info.parent, nullptr);
    EXPECT_FALSE(gPluginState.coverAbsent);
}

TEST_F(PluginTest, CoverFollowsTheScreenSize)
{
    winsim::SetScreenSize(1920, 1080);
    Start();
    ASSERT_EQ(Call(kDoHideBackground), "1");
    EXPECT_EQ(winsim::Inspect(gPluginState.coverWindow).rect, Rect(-3, -2, 1923, 1082));
}

TEST_F(PluginTest, CoverHideHideShowShow)
{
    Start();
    EXPECT_EQ(Call(kDoShowBackground), "0");
    EXPECT_TRUE(winsim::CallLog().empty()) << "nothing to remove right after start-up";
    EXPECT_EQ(Call(kDoHideBackground), "1");
    EXPECT_EQ(Call(kDoHideBackground), "0");
    EXPECT_EQ(Call(kDoShowBackground), "1");
    EXPECT_EQ(Call(kDoShowBackground), "0");
    EXPECT_EQ(winsim::CountCalls("CreateWindowExA"), 1u);
    EXPECT_EQ(winsim::CountCalls("DestroyWindow"), 1u);
    EXPECT_EQ(winsim::WindowCount(), 0u);
}

TEST_F(PluginTest, FailedCoverCreationAnswersZeroAndRetries)
{
    Start();
    winsim::FailCall("CreateWindowExA");
    EXPECT_EQ(Call(kDoHideBackground), "0");
    EXPECT_TRUE(gPluginState.coverAbsent);
    EXPECT_EQ(gPluginState.coverWindow, nullptr);
    EXPECT_EQ(Call(kDoHideBackground), "1");
    EXPECT_TRUE(winsim::Inspect(gPluginState.coverWindow).visible);
}

TEST_F(PluginTest, CoverNeedsItsClass)
{
    winsim::FailCall("RegisterClassA");
    ASSERT_EQ(host->Startup(33), kFMXStartupFailed);
    winsim::ClearCallLog();
    EXPECT_EQ(Call(kDoHideBackground), "0");
    EXPECT_EQ(winsim::CountCalls("CreateWindowExA"), 0u);
}

TEST_F(PluginTest, VanishedCoverCountsAsRemoved)
{
    Start();
    ASSERT_EQ(Call(kDoHideBackground), "1");
    {
        winsim::Quiet quiet;
        DestroyWindow(gPluginState.coverWindow);
    }
    EXPECT_EQ(Call(kDoShowBackground), "1");
    EXPECT_TRUE(gPluginState.coverAbsent);
    EXPECT_EQ(winsim::CountCalls("DestroyWindow"), 0u);
    EXPECT_EQ(Call(kDoHideBackground), "1") << "a new cover can be made";
    EXPECT_EQ(winsim::WindowCount(), 1u);
}

TEST_F(PluginTest, ShutdownTreatsVanishedCoverAsRemoved)
{
    Start();
    ASSERT_EQ(Call(kDoHideBackground), "1");
    {
        winsim::Quiet quiet;
        DestroyWindow(gPluginState.coverWindow);
    }
    host->Shutdown();
    EXPECT_TRUE(gPluginState.coverAbsent);
    EXPECT_FALSE(gPluginState.coverClassRegistered);
    EXPECT_TRUE(winsim::RegisteredClasses().empty());
}

}  // namespace

namespace {

TEST_F(PluginTest, RefusedCoverDestructionKeepsTheCover)
{
    Start();
    ASSERT_EQ(Call(kDoHideBackground), "1");
    HWND cover = gPluginState.coverWindow;
    winsim::FailCall("DestroyWindow");
    EXPECT_EQ(Call(kDoShowBackground), "0");
    EXPECT_FALSE(gPluginState.coverAbsent);
    EXPECT_TRUE(winsim::Inspect(cover).exists);
    EXPECT_EQ(Call(kDoHideBackground), "0") << "the cover is still shown";
    EXPECT_EQ(Call(kDoShowBackground), "1");
    EXPECT_FALSE(winsim::Inspect(cover).exists);
}

}  // namespace
