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
        {kDoShowWindow, "0", true, true},    {kDoHideWindow, "1", false, true},
        {kDoHideWindow, "0", false, true},   {kDoDisableWindow, "1", false, false},
        {kDoDisableWindow, "0", false, false}, {kDoShowWindow, "1", true, false},
        {kDoShowWindow, "0", true, false},   {kDoEnableWindow, "1", true, true},
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

TEST_F(DesktopTest, MenuBarCommandsReadTheCodeFromFieldOne)
{
    StartHost();
    const std::pair<std::string, std::string> cases[] = {
        {"", "FMPRO5APP"},           {"abc", "FMPRO5.abc"},
        {"ab|cd", "FMPRO5.ab"},      {"abcd", "FMPRO5APP"},
        {"abcdefghijklm|x", "FMPRO5APP"},
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
