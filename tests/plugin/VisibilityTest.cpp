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

// The menu bar comes back with the buttons of the document that is maximized
// at that moment (its window menu first, minimize, restore and close last)
// and no others, whatever happened to the documents while it was detached;
// the documents stay as they are. At shut-down as on a show.
struct MdiMenuCase {
    const char *label;
    const char *beforeHide;   // steps on the documents: M maximize, N minimize,
    const char *whileHidden;  // R restore, H hide, X destroy, each with a document's number
    int owner;                // whose buttons the menu holds afterwards, -1 for none
    bool handedOver;          // the MDI client put them in, handed the menu
};

class MdiMenuTest : public DesktopTest, public ::testing::WithParamInterface<MdiMenuCase> {
protected:
    void Apply(const std::string &steps)
    {
        winsim::Quiet quiet;
        for (size_t i = 0; i + 1 < steps.size(); i += 3) {
            HWND doc = docs_[static_cast<size_t>(steps[i + 1] - '0')];
            switch (steps[i]) {
            case 'X':
                DestroyWindow(doc);
                break;
            default:
                ShowWindow(doc, steps[i] == 'M'   ? SW_MAXIMIZE
                                : steps[i] == 'N' ? SW_MINIMIZE
                                : steps[i] == 'H' ? SW_HIDE
                                                  : SW_RESTORE);
            }
        }
    }

    std::string States()
    {
        winsim::Quiet quiet;
        std::string states;
        for (HWND doc : docs_)
            states += !IsWindow(doc)  ? "gone "
                      : IsZoomed(doc) ? (IsWindowVisible(doc) ? "max " : "max-hidden ")
                      : IsIconic(doc) ? "min "
                                      : "normal ";
        return states;
    }

    // The picture of the first item, which the MDI client makes for a
    // document's window menu.
    static HBITMAP ItemPicture(HMENU menu)
    {
        winsim::Quiet quiet;
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_BITMAP;
        return GetMenuItemInfoA(menu, 0, TRUE, &item) ? item.hbmpItem : NULL;
    }

    std::vector<HWND> docs_;
};

TEST_P(MdiMenuTest, ButtonsOfTheDocumentMaximizedNow)
{
    const MdiMenuCase &c = GetParam();
    for (bool atShutDown : {false, true}) {
        SCOPED_TRACE(std::string(c.label) + (atShutDown ? ", at shut-down" : ", on a show"));
        winsim::Reset();
        gPluginState = PluginState();
        host = std::make_unique<fmhost::HostSession>(FMExternCallProc, TestInstance());
        StartHost();
        docs_ = {AddDocument("Orders", 10, 20), AddDocument("Invoices", 40, 50)};
        HMENU menu = winsim::Inspect(host_.app).menu;
        Apply(c.beforeHide);
        HBITMAP picture = ItemPicture(menu);
        ASSERT_EQ(Call(kDoHideMenuBar), "1");
        Apply(c.whileHidden);
        std::string states = States();
        winsim::ClearCallLog();
        if (atShutDown)
            host->Shutdown();
        else
            EXPECT_EQ(Call(kDoShowMenuBar), "1");
        winsim::Quiet quiet;
        EXPECT_EQ(GetMenu(host_.app), menu);
        EXPECT_EQ(GetMenuItemCount(menu), c.owner < 0 ? 4 : 8) << "the host's 4 items";
        if (c.owner >= 0) {
            EXPECT_EQ(GetSubMenu(menu, 0), GetSystemMenu(docs_[c.owner], FALSE));
            EXPECT_EQ(GetMenuItemID(menu, 7), static_cast<UINT>(SC_CLOSE));
        }
        EXPECT_EQ(States(), states) << "the documents stay as they are";
        EXPECT_EQ(winsim::CountCalls("ShowWindow"), 0u) << "no document restored on the way";
        EXPECT_EQ(winsim::CountCalls("SendMessageA"), c.handedOver ? 2u : 0u);
        // The picture of a document's icon goes with its buttons, unless
        // they are still there.
        bool kept = picture != NULL && c.owner >= 0 && !c.handedOver;
        EXPECT_EQ(GetObjectType(picture), kept ? static_cast<DWORD>(OBJ_BITMAP) : 0u);
        EXPECT_EQ(GetObjectType(ItemPicture(menu)),
                  c.owner >= 0 ? static_cast<DWORD>(OBJ_BITMAP) : 0u);
        EXPECT_TRUE(gPluginState.menuBarShown);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, MdiMenuTest,
    ::testing::Values(MdiMenuCase{"none maximized", "", "", -1, false},
                      MdiMenuCase{"maximized all along", "M0", "", 0, false},
                      MdiMenuCase{"maximized at the hide, restored since", "M0", "R0", -1, false},
                      MdiMenuCase{"maximized at the hide, minimized since", "M0", "N0", -1, false},
                      MdiMenuCase{"maximized at the hide, destroyed since", "M0", "X0", -1, false},
                      MdiMenuCase{"maximized since", "", "M0", 0, true},
                      MdiMenuCase{"another one maximized since", "M0", "M1", 1, true},
                      MdiMenuCase{"maximized and hidden since", "", "M0 H0", -1, false}));

// The host gave the window a menu bar of its own while its menu bar was
// detached: that one stays, and the detached one is forgotten, as for a
// window that is gone.
TEST_F(DesktopTest, MenuBarOfAWindowWithAMenuAgainIsForgotten)
{
    StartHost();
    ASSERT_EQ(Call(kDoHideMenuBar), "1");
    HMENU replacement;
    {
        winsim::Quiet quiet;
        replacement = CreateMenu();
        SetMenu(host_.app, replacement);
    }
    winsim::ClearCallLog();
    EXPECT_EQ(Call(kDoShowMenuBar), "0");
    EXPECT_EQ(winsim::Inspect(host_.app).menu, replacement);
    EXPECT_EQ(winsim::CountCalls("SetMenu"), 0u);
    EXPECT_TRUE(gPluginState.menuBarShown);
    EXPECT_EQ(gPluginState.savedMenu, nullptr);
    EXPECT_EQ(gPluginState.menuSource, nullptr);
    EXPECT_EQ(Call(kDoHideMenuBar), "1");
    EXPECT_EQ(gPluginState.savedMenu, replacement);
}

}  // namespace
