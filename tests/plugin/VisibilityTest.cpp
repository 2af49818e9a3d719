// Hiding, showing, disabling and enabling a document window, and the menu bar.
#include "DesktopFixture.h"

using namespace loomvane_test;

namespace {

TEST_F(DesktopTest, VisibilityPairsAnswerOnlyForAChange)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    struct Step {
        uint32_t id;
        const char *answer;
        bool visible;
        bool enabled;
    };
    const Step steps[] = {
        {kDoShowWindow, "0", true, true},      {kDoHideWindow, "1", false, true},
        {kDoHideWindow, "0", false, true},     {kDoDisableWindow, "1", false, false},
        {kDoDisableWindow, "0", false, false}, {kDoShowWindow, "1", true, false},
        {kDoShowWindow, "0", true, false},     {kDoEnableWindow, "1", true, true},
        {kDoEnableWindow, "0", true, true},
    };
    int n = 0;
    for (const Step &step : steps) {
        ++n;
        EXPECT_EQ(Call(step.id, "Orders"), step.answer) << "step " << n;
        winsim::WindowInfo info = winsim::Inspect(orders);
        EXPECT_EQ(info.visible, step.visible) << "step " << n;
        EXPECT_EQ(info.enabled, step.enabled) << "step " << n;
    }
}

TEST_F(DesktopTest, VisibilityCommandsMakeExactlyOneCall)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    const std::pair<uint32_t, std::string> cases[] = {
        {kDoHideWindow, "ShowWindow(" + winsim::Str(orders) + ", 0) = 1"},
        {kDoShowWindow, "ShowWindow(" + winsim::Str(orders) + ", 1) = 0"},
        {kDoDisableWindow, "EnableWindow(" + winsim::Str(orders) + ", 0) = 0"},
        {kDoEnableWindow, "EnableWindow(" + winsim::Str(orders) + ", 1) = 1"},
    };
    for (const auto &c : cases) {
        winsim::ClearCallLog();
        EXPECT_EQ(Call(c.first, "Orders|"), "1");
        auto shows = FormattedCalls("ShowWindow");
        auto enables = FormattedCalls("EnableWindow");
        shows.insert(shows.end(), enables.begin(), enables.end());
        EXPECT_EQ(shows, std::vector<std::string>{c.second});
    }
}

TEST_F(DesktopTest, UnknownTitleTouchesNoWindow)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    for (uint32_t id : {kDoHideWindow, kDoShowWindow, kDoDisableWindow, kDoEnableWindow}) {
        EXPECT_EQ(Call(id, "Invoices"), "0");
        EXPECT_EQ(winsim::CountCalls("ShowWindow") + winsim::CountCalls("EnableWindow"), 0u);
    }
    EXPECT_TRUE(winsim::Inspect(orders).visible);
}

TEST_F(DesktopTest, ChangeStandsWhenResultCannotBeSized)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    fmhost::CallOutcome out = CallWith(kDoHideWindow, "Orders", "old", true);
    EXPECT_EQ(out.result, "old");
    EXPECT_FALSE(winsim::Inspect(orders).visible);
}

TEST_F(DesktopTest, MenuBarHideHideShow)
{
    StartHost();
    HMENU menu = winsim::Inspect(host_.app).menu;
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Call(kDoShowMenuBar), "0") << "nothing to show right after start-up";
    EXPECT_TRUE(winsim::CallLog().empty()) << "a refused show calls no window function";

    EXPECT_EQ(Call(kDoHideMenuBar), "1");
    EXPECT_EQ(winsim::Inspect(host_.app).menu, nullptr);
    EXPECT_EQ(gPluginState.savedMenu, menu);
    EXPECT_FALSE(gPluginState.menuBarShown);

    winsim::ClearCallLog();
    EXPECT_EQ(Call(kDoHideMenuBar), "0");
    EXPECT_TRUE(winsim::CallLog().empty());
    EXPECT_EQ(gPluginState.savedMenu, menu);

    EXPECT_EQ(Call(kDoShowMenuBar), "1");
    EXPECT_EQ(winsim::Inspect(host_.app).menu, menu);
    EXPECT_TRUE(gPluginState.menuBarShown);
    EXPECT_EQ(gPluginState.savedMenu, menu) << "a show does not clear the saved menu";
}

// The menu goes back only to the window it came from: a show that names
// another window is refused and changes nothing, so the right one can follow.
TEST_F(DesktopTest, MenuBarGoesBackWhereItCameFrom)
{
    StartHost();
    fmhost::HostWindows other = AddApplication("FMPRO5.ab1");
    HMENU mainMenu = winsim::Inspect(host_.app).menu;
    HMENU otherMenu = winsim::Inspect(other.app).menu;
    ASSERT_EQ(Call(kDoHideMenuBar, ""), "1");
    EXPECT_EQ(Call(kDoShowMenuBar, "ab1"), "0");
    EXPECT_EQ(winsim::Inspect(other.app).menu, otherMenu);
    EXPECT_EQ(winsim::Inspect(host_.app).menu, nullptr);
    EXPECT_FALSE(gPluginState.menuBarShown);
    EXPECT_EQ(Call(kDoShowMenuBar, ""), "1");
    EXPECT_EQ(winsim::Inspect(host_.app).menu, mainMenu);
}

// A window or a menu destroyed while detached leaves nothing to put back:
// the show answers "0" and the record starts afresh instead of refusing
// every command until the next start-up.
TEST_F(DesktopTest, MenuBarWhoseWindowOrMenuIsGoneIsForgotten)
{
    for (bool windowGone : {true, false}) {
        SCOPED_TRACE(windowGone ? "window gone" : "menu gone");
        winsim::Reset();
        gPluginState = PluginState();
        host = std::make_unique<fmhost::HostSession>(FMExternCallProc, TestInstance());
        StartHost();
        HMENU menu = winsim::Inspect(host_.app).menu;
        ASSERT_EQ(Call(kDoHideMenuBar), "1");
        fmhost::HostWindows again;
        {
            winsim::Quiet quiet;
            if (windowGone) {
                DestroyWindow(host_.app);
                again = fmhost::CreateHostWindows(TestInstance(), fmhost::HostLayout());
            } else {
                DestroyMenu(menu);
            }
        }
        EXPECT_EQ(Call(kDoShowMenuBar), "0");
        EXPECT_TRUE(gPluginState.menuBarShown);
        EXPECT_EQ(gPluginState.savedMenu, nullptr);
        EXPECT_EQ(gPluginState.menuSource, nullptr);
        HWND app = windowGone ? again.app : host_.app;
        EXPECT_EQ(Call(kDoHideMenuBar), "1") << "the record starts afresh";
        EXPECT_EQ(gPluginState.menuSource, app);
    }
}

TEST_F(DesktopTest, MenuBarIsShownFromTheMomentOfLoading)
{
    StartHost(5, std::string(), /*start=*/false);
    HMENU menu = winsim::Inspect(host_.app).menu;
    EXPECT_EQ(Call(kDoShowMenuBar), "0") << "before start-up";
    EXPECT_EQ(winsim::Inspect(host_.app).menu, menu);
    ASSERT_EQ(host->Startup(3), kFMXStartupBadVersion);
    EXPECT_EQ(Call(kDoShowMenuBar), "0") << "after a refused start-up";
    EXPECT_EQ(winsim::Inspect(host_.app).menu, menu);
}

TEST_F(DesktopTest, RepeatedStartupKeepsADetachedMenuBar)
{
    StartHost();
    HMENU menu = winsim::Inspect(host_.app).menu;
    ASSERT_EQ(Call(kDoHideMenuBar), "1");
    ASSERT_EQ(host->Startup(33), kFMXStartupOK);
    EXPECT_EQ(Call(kDoShowMenuBar), "1");
    EXPECT_EQ(winsim::Inspect(host_.app).menu, menu);
}

TEST_F(DesktopTest, MenuBarCommandsReadTheCodeFromFieldOne)
{
    StartHost();
    const std::pair<std::string, std::string> cases[] = {
        {"", "FMPRO5APP"},
        {"abc", "FMPRO5.abc"},
        {"ab|cd", "FMPRO5.ab"},
        {"abcd", "FMPRO5APP"},
        {"abcdefghijklm|x", "FMPRO5APP"},
        {std::string("abcd\0", 5), "FMPRO5APP"},
    };
    for (const auto &c : cases) {
        winsim::ClearCallLog();
        gPluginState.menuBarShown = true;
        Call(kDoHideMenuBar, c.first);
        auto finds = winsim::CallsTo("FindWindowA");
        ASSERT_EQ(finds.size(), 1u) << c.first;
        EXPECT_EQ(finds[0].args[0], "\"" + c.second + "\"") << c.first;
    }
}

// A code that names a class cannot hold a zero byte: "a\0" would be the
// class "FMPRO5.a".
TEST_F(DesktopTest, MenuBarCodeWithZeroByteNamesNoWindow)
{
    StartHost();
    AddApplication("FMPRO5.a");
    EXPECT_EQ(Call(kDoHideMenuBar, std::string("a\0", 2)), "0");
    EXPECT_EQ(winsim::CountCalls("FindWindowA"), 0u);
    EXPECT_TRUE(gPluginState.menuBarShown);
}

TEST_F(DesktopTest, MenuBarOfGenerationThree)
{
    StartHost(3);
    EXPECT_EQ(Call(kDoHideMenuBar, "xyz"), "0");
    EXPECT_EQ(winsim::CallsTo("FindWindowA")[0].args[0], "\"FMPRO3.xyz\"");
    EXPECT_TRUE(gPluginState.menuBarShown);
    EXPECT_EQ(Call(kDoHideMenuBar), "1");
}

TEST_F(DesktopTest, MenuBarWaitsForItsWindow)
{
    Start();
    EXPECT_EQ(Call(kDoHideMenuBar), "0");
    EXPECT_TRUE(gPluginState.menuBarShown);
    StartHost(5, std::string(), /*start=*/false);
    EXPECT_EQ(Call(kDoHideMenuBar), "1");
}

TEST_F(DesktopTest, RefusedSetMenuChangesNoState)
{
    StartHost();
    HMENU menu = winsim::Inspect(host_.app).menu;
    winsim::FailCall("SetMenu");
    EXPECT_EQ(Call(kDoHideMenuBar), "0");
    EXPECT_TRUE(gPluginState.menuBarShown);
    EXPECT_EQ(gPluginState.savedMenu, nullptr);
    EXPECT_EQ(winsim::Inspect(host_.app).menu, menu);

    ASSERT_EQ(Call(kDoHideMenuBar), "1");
    winsim::FailCall("SetMenu");
    EXPECT_EQ(Call(kDoShowMenuBar), "0");
    EXPECT_FALSE(gPluginState.menuBarShown);
    EXPECT_EQ(gPluginState.savedMenu, menu);
    EXPECT_EQ(Call(kDoShowMenuBar), "1");
    EXPECT_EQ(winsim::Inspect(host_.app).menu, menu);
}

TEST_F(DesktopTest, WindowWithoutMenuHidesAndShowsNull)
{
    StartHost();
    {
        winsim::Quiet quiet;
        SetMenu(host_.app, NULL);
    }
    EXPECT_EQ(Call(kDoHideMenuBar), "1");
    EXPECT_EQ(gPluginState.savedMenu, nullptr);
    EXPECT_EQ(Call(kDoShowMenuBar), "1");
    EXPECT_EQ(winsim::Inspect(host_.app).menu, nullptr);
}

}  // namespace
