// The task bar, the cursor and the cover window.
#include "DesktopFixture.h"

#include <algorithm>

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

// Without a task bar there is nothing to hide or show: both answer "0" and
// do nothing else, the host's window is not raised either.
TEST_F(DesktopTest, TaskBarCommandsWithoutTaskBarAnswerZero)
{
    StartHost();
    EXPECT_EQ(Call(kDoHideTaskBar), "0");
    EXPECT_EQ(Call(kDoShowTaskBar), "0");
    EXPECT_EQ(CalledFunctions(), (std::vector<std::string>{"FindWindowExA", "FindWindowExA"}));
    EXPECT_FALSE(gPluginState.taskBarHidden);
}

TEST_F(DesktopTest, TaskBarCommandsWithoutHost)
{
    Start();
    {
        winsim::Quiet quiet;
        winsim::CreateTaskBar();
    }
    EXPECT_EQ(Call(kDoHideTaskBar), "1");
    EXPECT_EQ(Call(kDoShowTaskBar), "1");
    EXPECT_EQ(winsim::CountCalls("BringWindowToTop"), 0u);
    EXPECT_EQ(winsim::CallsTo("FindWindowA").back().args[0], "\"FMPRO5APP\"");
}

// The Start button of Windows Vista and 7 is a top-level "Button" of the
// task bar's thread; it is known by that thread, not by its translated
// title. A button of any other thread is left alone.
TEST_F(DesktopTest, TaskBarCommandsTakeTheStartButtonAlong)
{
    StartHost();
    HWND bar;
    HWND start;
    HWND foreign;
    {
        winsim::Quiet quiet;
        foreign = CreateWindowExA(0, "Button", "Start", WS_POPUP | WS_VISIBLE, 0, 0, 40, 20, NULL,
                                  NULL, TestInstance(), NULL);
        bar = winsim::CreateTaskBar();
        start = winsim::CreateStartButton("D\xe9marrer");
    }
    ASSERT_NE(foreign, nullptr);
    EXPECT_EQ(Call(kDoHideTaskBar), "1");
    EXPECT_FALSE(winsim::Inspect(bar).visible);
    EXPECT_FALSE(winsim::Inspect(start).visible);
    EXPECT_TRUE(winsim::Inspect(foreign).visible)
        << "a button of the host's own is no Start button";
    winsim::ClearCallLog();
    EXPECT_EQ(Call(kDoShowTaskBar), "1");
    EXPECT_TRUE(winsim::Inspect(bar).visible);
    EXPECT_TRUE(winsim::Inspect(start).visible);
    EXPECT_EQ(FormattedCalls("ShowWindowAsync"),
              (std::vector<std::string>{"ShowWindowAsync(" + winsim::Str(bar) + ", 8) = 1",
                                        "ShowWindowAsync(" + winsim::Str(start) + ", 8) = 1"}))
        << "the task bar and the Start button are shown without activation or waiting";
    EXPECT_EQ(winsim::ActiveWindow(), host_.app) << "the host is brought to the top";
}

TEST_F(DesktopTest, ShowTaskBarRaisesGenerationThreeHost)
{
    StartHost(3);
    {
        winsim::Quiet quiet;
        winsim::CreateTaskBar();
    }
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
    ::testing::Values(
        CursorCase{kDoHideCursor, -1, "0", -1, 2}, CursorCase{kDoHideCursor, -8, "0", -8, 2},
        CursorCase{kDoHideCursor, 0, "1", -8, 10}, CursorCase{kDoHideCursor, 11, "1", -8, 21},
        CursorCase{kDoHideCursor, 12, "1", -7, 21}, CursorCase{kDoHideCursor, 15, "1", -4, 21},
        CursorCase{kDoHideCursor, 18, "1", -1, 21}, CursorCase{kDoHideCursor, 19, "0", 0, 21},
        CursorCase{kDoHideCursor, 30, "0", 11, 21}, CursorCase{kDoShowCursor, 0, "0", 0, 2},
        CursorCase{kDoShowCursor, 5, "0", 5, 2}, CursorCase{kDoShowCursor, -1, "1", 0, 3},
        CursorCase{kDoShowCursor, -8, "1", 0, 10}, CursorCase{kDoShowCursor, -19, "1", 0, 21},
        CursorCase{kDoShowCursor, -20, "0", -1, 21}, CursorCase{kDoShowCursor, -25, "0", -6, 21}));

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
    EXPECT_EQ(creates[0], "CreateWindowExA(0x8000080, \"" LOOMVANE_COVER_CLASS
                          "\", \"" LOOMVANE_COVER_TITLE
                          "\", "
                          "0x8c00000, -3, -2, 1030, 772, NULL, NULL, " +
                              winsim::Str(TestInstance()) + ", NULL) = " + winsim::Str(cover));
    winsim::WindowInfo info = winsim::Inspect(cover);
    EXPECT_TRUE(info.visible);
    EXPECT_FALSE(info.enabled);
    EXPECT_EQ(info.rect, Rect(-3, -2, 1027, 770));
    EXPECT_EQ(info.className, LOOMVANE_COVER_CLASS);
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

namespace {

// The search for task bars on further monitors is bounded: after the
// primary one it looks 64 times and no more, however many windows of the
// class there are.
TEST_F(DesktopTest, TaskBarSearchStopsAfterSixtyFourLooks)
{
    StartHost();
    std::vector<HWND> bars;
    {
        winsim::Quiet quiet;
        winsim::CreateTaskBar();
        for (int i = 0; i < 80; ++i)
            bars.push_back(winsim::CreateTaskBar("Shell_SecondaryTrayWnd"));
    }
    auto shownBars = [&bars]() {
        return std::count_if(bars.begin(), bars.end(),
                             [](HWND bar) { return winsim::Inspect(bar).visible; });
    };
    // The primary task bar, the look for a Start button, 64 further bars.
    EXPECT_EQ(Call(kDoHideTaskBar), "1");
    EXPECT_EQ(winsim::CountCalls("FindWindowExA"), 1u + 1u + 64u);
    EXPECT_EQ(winsim::CountCalls("ShowWindowAsync"), 1u + 64u);
    EXPECT_GT(shownBars(), 80 - 64) << "at most 64 further task bars are hidden";
    EXPECT_LT(shownBars(), 80);

    winsim::ClearCallLog();
    EXPECT_EQ(Call(kDoShowTaskBar), "1");
    EXPECT_EQ(winsim::CountCalls("FindWindowExA"), 1u + 1u + 64u);
    EXPECT_EQ(winsim::CountCalls("ShowWindowAsync"), 1u + 64u);
}

}  // namespace

// The cover on a real desktop: under the host, over every monitor, and what
// shut-down gives back.
namespace {

// Another program's window, made on its own thread.
HWND AddForeignWindow(const char *title, DWORD process = 0x40, DWORD thread = 0x44)
{
    winsim::Quiet quiet;
    winsim::OtherThread other(process, thread);
    return CreateWindowExA(0, "Static", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300,
                           NULL, NULL, TestInstance(), NULL);
}

size_t ZIndex(HWND window)
{
    auto list = winsim::Children(NULL);
    return static_cast<size_t>(std::find(list.begin(), list.end(), window) - list.begin());
}

TEST_F(DesktopTest, CoverSitsUnderTheHostWhichKeepsActivationAndFocus)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    HWND other = AddForeignWindow("Other program");
    {
        winsim::Quiet quiet;
        BringWindowToTop(host_.app);
        SetFocus(orders);
    }
    ASSERT_EQ(winsim::ActiveWindow(), host_.app);
    HWND focus = winsim::FocusWindow();
    ASSERT_EQ(Call(kDoHideBackground), "1");
    HWND cover = gPluginState.coverWindow;
    EXPECT_TRUE(winsim::Inspect(cover).visible);
    EXPECT_EQ(winsim::Children(NULL).front(), host_.app) << "the host stays in front";
    EXPECT_EQ(ZIndex(cover), ZIndex(host_.app) + 1) << "directly beneath the host";
    EXPECT_GT(ZIndex(other), ZIndex(cover)) << "other programs are covered";
    EXPECT_EQ(winsim::ActiveWindow(), host_.app);
    EXPECT_EQ(winsim::FocusWindow(), focus);
    EXPECT_EQ(FormattedCalls("SetWindowPos"),
              std::vector<std::string>{"SetWindowPos(" + winsim::Str(cover) + ", " +
                                       winsim::Str(host_.app) + ", 0, 0, 0, 0, 0x53) = 1"});
    EXPECT_EQ(winsim::CountCalls("ShowWindow"), 0u);
}

// A dialog of the host is active: the cover goes under the window that owns
// it, so that the dialog and the host both stay in front.
TEST_F(DesktopTest, CoverGoesUnderTheRootOwnerOfTheActiveWindow)
{
    StartHost();
    HWND dialog;
    {
        winsim::Quiet quiet;
        dialog = CreateWindowExA(0, "Static", "Find", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100,
                                 200, 100, host_.app, NULL, TestInstance(), NULL);
    }
    ASSERT_EQ(winsim::ActiveWindow(), dialog);
    ASSERT_EQ(Call(kDoHideBackground), "1");
    HWND cover = gPluginState.coverWindow;
    EXPECT_EQ(ZIndex(cover), ZIndex(host_.app) + 1);
    EXPECT_LT(ZIndex(dialog), ZIndex(cover));
    EXPECT_EQ(winsim::ActiveWindow(), dialog);
}

// Another program is active: nothing of the host's is, so the cover goes
// directly beneath the host's own application window, above a program that
// lies behind the host; only without one, to the bottom.
TEST_F(DesktopTest, CoverGoesBeneathTheOwnWindowWhenNothingOfTheHostIsActive)
{
    for (bool withApplication : {true, false}) {
        SCOPED_TRACE(withApplication ? "the host's window" : "no application window");
        winsim::Reset();
        gPluginState = PluginState();
        host = std::make_unique<fmhost::HostSession>(FMExternCallProc, TestInstance());
        StartHost();
        HWND behind = AddForeignWindow("Behind");
        HWND front = AddForeignWindow("Front", 0x50, 0x54);
        {
            winsim::Quiet quiet;
            SetWindowPos(behind, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            if (!withApplication)
                DestroyWindow(host_.app);
        }
        ASSERT_EQ(winsim::ActiveWindow(), front);
        ASSERT_EQ(Call(kDoHideBackground), "1");
        HWND cover = gPluginState.coverWindow;
        EXPECT_TRUE(winsim::Inspect(cover).visible);
        if (withApplication) {
            EXPECT_EQ(ZIndex(cover), ZIndex(host_.app) + 1);
            EXPECT_EQ(ZIndex(behind), ZIndex(cover) + 1) << "the program behind stays covered";
        } else {
            EXPECT_EQ(winsim::Children(NULL).back(), cover);
        }
        EXPECT_EQ(winsim::ActiveWindow(), front);
    }
}

// The cover spans the virtual screen: every monitor, with the same overhang.
TEST_F(PluginTest, CoverSpansEveryMonitor)
{
    winsim::SetScreenSize(1024, 768);
    winsim::SetOtherMonitors({{1024, 0, 1824, 600}, {-1280, -200, 0, 824}});
    Start();
    ASSERT_EQ(Call(kDoHideBackground), "1");
    EXPECT_EQ(winsim::Inspect(gPluginState.coverWindow).rect, Rect(-1283, -202, 1827, 826));
}

// A window that cannot be shown is not left about hidden: it is destroyed
// and the command answers "0".
TEST_F(PluginTest, CoverThatCannotBeShownIsDestroyed)
{
    Start();
    winsim::FailCall("SetWindowPos");
    EXPECT_EQ(Call(kDoHideBackground), "0");
    EXPECT_TRUE(gPluginState.coverAbsent);
    EXPECT_EQ(winsim::WindowCount(), 0u);
    EXPECT_EQ(Call(kDoHideBackground), "1");
}

// A cover that can be neither shown nor destroyed is still there: it stays
// recorded, so that a show can remove it later.
TEST_F(PluginTest, CoverThatCanBeNeitherShownNorDestroyedStaysRecorded)
{
    Start();
    winsim::FailCall("SetWindowPos");
    winsim::FailCall("DestroyWindow");
    EXPECT_EQ(Call(kDoHideBackground), "0");
    HWND cover = gPluginState.coverWindow;
    EXPECT_FALSE(gPluginState.coverAbsent);
    EXPECT_TRUE(winsim::Inspect(cover).exists);
    EXPECT_FALSE(winsim::Inspect(cover).visible);
    EXPECT_EQ(Call(kDoHideBackground), "0") << "one cover at most";
    EXPECT_EQ(Call(kDoShowBackground), "1");
    EXPECT_EQ(winsim::WindowCount(), 0u);
}

// A cover that outlives a refused destruction at shut-down keeps no window
// procedure inside the module that is about to be unloaded.
TEST_F(PluginTest, CoverOutlivingShutDownGetsTheDefaultProcedure)
{
    Start();
    ASSERT_EQ(Call(kDoHideBackground), "1");
    HWND cover = gPluginState.coverWindow;
    ASSERT_EQ(winsim::Inspect(cover).proc, BngdWndProc);
    winsim::FailCall("DestroyWindow");
    host->Shutdown();
    ASSERT_TRUE(winsim::Inspect(cover).exists);
    EXPECT_EQ(winsim::Inspect(cover).proc, DefWindowProcA);
}

// A change of the displays while the cover is shown: it is fitted to the new
// virtual screen where it is, without activation.
struct DisplayChangeCase {
    const char *what;
    int width, height;
    std::vector<RECT> others;
    RECT cover;
};

class CoverDisplayChangeTest : public DesktopTest,
                               public ::testing::WithParamInterface<DisplayChangeCase> {};

TEST_P(CoverDisplayChangeTest, CoverIsFittedWhereItIs)
{
    const DisplayChangeCase &c = GetParam();
    winsim::SetOtherMonitors({{1024, 0, 1824, 600}});
    StartHost();
    ASSERT_EQ(Call(kDoHideBackground), "1");
    HWND cover = gPluginState.coverWindow;
    auto order = winsim::Children(NULL);
    HWND active = winsim::ActiveWindow();
    winsim::ClearCallLog();
    winsim::ChangeDisplays(c.width, c.height, c.others);
    EXPECT_EQ(winsim::Inspect(cover).rect, c.cover) << c.what;
    EXPECT_EQ(winsim::Children(NULL), order) << c.what;
    EXPECT_EQ(winsim::ActiveWindow(), active) << c.what;
    RECT r = c.cover;
    EXPECT_EQ(FormattedCalls("SetWindowPos"),
              std::vector<std::string>{"SetWindowPos(" + winsim::Str(cover) + ", NULL, " +
                                       std::to_string(r.left) + ", " + std::to_string(r.top) +
                                       ", " + std::to_string(r.right - r.left) + ", " +
                                       std::to_string(r.bottom - r.top) + ", 0x214) = 1"})
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, CoverDisplayChangeTest,
    ::testing::Values(
        DisplayChangeCase{"monitor removed", 1024, 768, {}, {-3, -2, 1027, 770}},
        DisplayChangeCase{
            "larger monitor", 1024, 768, {{1024, 0, 2304, 1024}}, {-3, -2, 2307, 1026}},
        DisplayChangeCase{
            "resolution of the primary", 1920, 1080, {{1920, 0, 2720, 600}}, {-3, -2, 2723, 1082}},
        DisplayChangeCase{
            "monitor moved to the left", 1024, 768, {{-800, 0, 0, 600}}, {-803, -2, 1027, 770}}));

// The user works in another program and comes back to the host: the cover
// goes back directly beneath the host, so that the other program's window
// no longer shows between them.
TEST_F(DesktopTest, CoverGoesBackBeneathTheHostWhenTheHostIsActiveAgain)
{
    StartHost();
    HWND other = AddForeignWindow("Other program");
    {
        winsim::Quiet quiet;
        BringWindowToTop(host_.app);
    }
    HWND behind = AddForeignWindow("Behind", 0x50, 0x54);
    {
        winsim::Quiet quiet;
        BringWindowToTop(host_.app);
        SetWindowPos(behind, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ASSERT_EQ(Call(kDoHideBackground), "1");
    HWND cover = gPluginState.coverWindow;
    ASSERT_GT(ZIndex(behind), ZIndex(cover));
    winsim::ClearCallLog();
    {
        winsim::Quiet quiet;
        SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    SetForegroundWindow(other);
    ASSERT_EQ(winsim::Children(NULL).front(), other);
    EXPECT_EQ(ZIndex(cover), ZIndex(host_.app) + 1)
        << "the host losing the activation moves nothing";
    EXPECT_GT(ZIndex(behind), ZIndex(cover)) << "nor drops the cover";
    EXPECT_EQ(winsim::CountCalls("SetWindowPos"), 0u);
    // As the system does when the user clicks the host: it comes to the
    // front, then it is activated.
    {
        winsim::Quiet quiet;
        SetWindowPos(host_.app, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    winsim::ClearCallLog();
    SetForegroundWindow(host_.app);
    EXPECT_EQ(ZIndex(cover), ZIndex(host_.app) + 1);
    EXPECT_GT(ZIndex(other), ZIndex(cover));
    EXPECT_EQ(winsim::ActiveWindow(), host_.app);
    EXPECT_EQ(FormattedCalls("SetWindowPos"),
              std::vector<std::string>{"SetWindowPos(" + winsim::Str(cover) + ", " +
                                       winsim::Str(host_.app) + ", 0, 0, 0, 0, 0x213) = 1"});
}

// A hung shell answers no message: the task bar commands and shut-down post
// their requests and go on; the shell carries them out when it wakes.
TEST_F(DesktopTest, TaskBarCommandsNeverWaitOnAHungShell)
{
    StartHost();
    HWND bar, start, second;
    {
        winsim::Quiet quiet;
        bar = winsim::CreateTaskBar();
        start = winsim::CreateStartButton();
        second = winsim::CreateTaskBar("Shell_SecondaryTrayWnd");
    }
    winsim::HangThread(winsim::kShellThread);
    EXPECT_EQ(Call(kDoHideTaskBar), "1");
    EXPECT_EQ(Call(kDoShowTaskBar), "1");
    EXPECT_EQ(Call(kDoHideTaskBar), "1");
    host->Shutdown();
    EXPECT_TRUE(winsim::ThreadHung(winsim::kShellThread)) << "nothing waited for the shell";
    EXPECT_FALSE(gPluginState.taskBarHidden) << "the requests to show it were accepted";
    EXPECT_EQ(winsim::CountCalls("ShowWindow"), 0u);
    winsim::WakeThread(winsim::kShellThread);
    for (HWND w : {bar, start, second})
        EXPECT_TRUE(winsim::Inspect(w).visible) << winsim::Str(w);
}

// Showing the task bar never hands the activation away: the bars are shown
// without it, and only the host's own window is brought to the top, never a
// second copy's, which FindWindowA finds first. Tried with the default
// application class and with an application code's class.
class ShowTaskBarActivationTest : public DesktopTest,
                                  public ::testing::WithParamInterface<const char *> {};

TEST_P(ShowTaskBarActivationTest, ActivationStaysWithTheHost)
{
    StartHost(5, GetParam());
    fmhost::HostWindows peer;
    {
        winsim::Quiet quiet;
        winsim::CreateTaskBar();
        winsim::OtherThread other(0x50, 0x54);
        peer = fmhost::CreateHostWindows(TestInstance(), fmhost::HostLayout());
    }
    {
        winsim::Quiet quiet;
        SetForegroundWindow(host_.app);
    }
    ASSERT_EQ(winsim::Children(NULL).front(), peer.app);
    ASSERT_EQ(Call(kDoHideTaskBar), "1");
    ASSERT_EQ(Call(kDoShowTaskBar), "1");
    EXPECT_EQ(winsim::ActiveWindow(), host_.app);
    for (const auto &call : winsim::CallsTo("BringWindowToTop"))
        EXPECT_EQ(call.args[0], winsim::Str(host_.app));
}

INSTANTIATE_TEST_SUITE_P(Classes, ShowTaskBarActivationTest, ::testing::Values("", "FMPRO5.abc"));

class GiveBackTest : public DesktopTest {
protected:
    void SetUpDesktop()
    {
        StartHost();
        orders_ = AddDocument("Orders");
        winsim::Quiet quiet;
        bar_ = winsim::CreateTaskBar();
        start_ = winsim::CreateStartButton();
        secondary_ = winsim::CreateTaskBar("Shell_SecondaryTrayWnd");
        SetActiveWindow(host_.app);
        menu_ = winsim::Inspect(host_.app).menu;
    }

    HWND orders_ = NULL, bar_ = NULL, start_ = NULL, secondary_ = NULL;
    HMENU menu_ = NULL;
};

// What no function can give back once the plug-in is gone comes back at
// shut-down: the task bar (without activation), the menu bar, the cursor.
// What the commands did to document windows stays.
TEST_F(GiveBackTest, ShutDownGivesBackTaskBarMenuBarAndCursor)
{
    SetUpDesktop();
    ASSERT_EQ(Call(kDoHideMenuBar), "1");
    ASSERT_EQ(Call(kDoHideTaskBar), "1");
    ASSERT_EQ(Call(kDoHideCursor), "1");
    ASSERT_EQ(Call(kDoHideWindowTitle, "Orders"), "1");
    ASSERT_EQ(Call(kDoHideWindow, "Orders"), "1");
    HWND active = winsim::ActiveWindow();
    winsim::ClearCallLog();
    host->Shutdown();
    EXPECT_EQ(winsim::Inspect(host_.app).menu, menu_);
    for (HWND w : {bar_, start_, secondary_})
        EXPECT_TRUE(winsim::Inspect(w).visible) << winsim::Str(w);
    EXPECT_EQ(winsim::CountCalls("ShowWindow"), 0u);
    EXPECT_EQ(winsim::CountCalls("ShowWindowAsync"), 3u);
    for (const auto &call : winsim::CallsTo("ShowWindowAsync"))
        EXPECT_EQ(call.args[1], "8") << "shown without activation: " << winsim::Format(call);
    EXPECT_EQ(winsim::ActiveWindow(), active);
    EXPECT_EQ(winsim::CursorCount(), 0);
    EXPECT_FALSE(winsim::Inspect(orders_).visible);
    EXPECT_EQ(winsim::Inspect(orders_).style & WS_CAPTION, 0);
    EXPECT_FALSE(gPluginState.taskBarHidden || gPluginState.cursorHidden);
    EXPECT_TRUE(gPluginState.menuBarShown);
}

// Only what the plug-in took and did not give back: after the show
// commands, or with nothing hidden, shut-down touches none of them.
TEST_F(GiveBackTest, ShutDownLeavesAloneWhatWasGivenBackAlready)
{
    SetUpDesktop();
    for (uint32_t id : {kDoHideMenuBar, kDoShowMenuBar, kDoHideTaskBar, kDoShowTaskBar,
                        kDoHideCursor, kDoShowCursor})
        ASSERT_EQ(Call(id), "1");
    {
        winsim::Quiet quiet;
        winsim::SetCursorCount(-3);  // another program's doing
        SetMenu(host_.app, NULL);    // the host's
    }
    winsim::ClearCallLog();
    host->Shutdown();
    for (const char *function : {"SetMenu", "ShowWindowAsync", "ShowCursor", "FindWindowExA"})
        EXPECT_EQ(winsim::CountCalls(function), 0u) << function;
    EXPECT_EQ(winsim::CursorCount(), -3);
    EXPECT_EQ(winsim::Inspect(host_.app).menu, nullptr) << "a menu bar shown again is owed no more";
}

// A hide that left the cursor shown owes nothing, nor does a cursor that
// something else showed again, at this shut-down or after a later start-up.
TEST_F(GiveBackTest, CursorIsOwedOnlyWhileTheHideHolds)
{
    SetUpDesktop();
    winsim::SetCursorCount(19);
    ASSERT_EQ(Call(kDoHideCursor), "0") << "19 steps end at 0";
    winsim::SetCursorCount(-3);
    winsim::ClearCallLog();
    host->Shutdown();
    EXPECT_EQ(winsim::CountCalls("ShowCursor"), 0u);
    EXPECT_EQ(winsim::CursorCount(), -3);

    ASSERT_EQ(host->Startup(33), kFMXStartupOK);
    winsim::SetCursorCount(0);
    ASSERT_EQ(Call(kDoHideCursor), "1");
    winsim::SetCursorCount(2);
    host->Shutdown();
    EXPECT_EQ(winsim::CursorCount(), 2) << "shown already: only looked at";
    ASSERT_EQ(host->Startup(33), kFMXStartupOK);
    winsim::SetCursorCount(-3);
    winsim::ClearCallLog();
    host->Shutdown();
    EXPECT_EQ(winsim::CountCalls("ShowCursor"), 0u);
    EXPECT_EQ(winsim::CursorCount(), -3);
}

// A task bar is given back once its showing is asked for or it is visible:
// one of the host's own thread (as a test host may make it) is shown at
// once, and ShowWindowAsync answers that it was hidden; the request to a
// hung shell is accepted before the shell acts on it.
TEST_F(GiveBackTest, TaskBarGivenBackOnceAskedForOrVisible)
{
    for (bool ownThread : {true, false}) {
        SCOPED_TRACE(ownThread ? "on the host's thread" : "of a hung shell");
        winsim::Reset();
        gPluginState = PluginState();
        host = std::make_unique<fmhost::HostSession>(FMExternCallProc, TestInstance());
        StartHost();
        HWND bar;
        {
            winsim::Quiet quiet;
            WNDCLASSA barClass = {};
            barClass.lpfnWndProc = DefWindowProcA;
            barClass.hInstance = TestInstance();
            barClass.lpszClassName = "Shell_TrayWnd";
            RegisterClassA(&barClass);
            bar = ownThread ? CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "",
                                              WS_POPUP | WS_VISIBLE, 0, 738, 1024, 30, NULL, NULL,
                                              TestInstance(), NULL)
                            : winsim::CreateTaskBar();
        }
        ASSERT_EQ(Call(kDoHideTaskBar), "1");
        ASSERT_FALSE(winsim::Inspect(bar).visible);
        if (!ownThread)
            winsim::HangThread(winsim::kShellThread);
        host->Shutdown();
        EXPECT_FALSE(gPluginState.taskBarHidden);
        EXPECT_EQ(winsim::Inspect(bar).visible, ownThread);
        if (!ownThread)
            winsim::WakeThread(winsim::kShellThread);
        EXPECT_TRUE(winsim::Inspect(bar).visible);
    }
}

// A window that had no menu bar when it was "hidden" gets none, also while
// a document is maximized: nothing is restored or maximized on the way.
TEST_F(GiveBackTest, ShowGivesNothingToAWindowThatHadNoMenuBar)
{
    SetUpDesktop();
    {
        winsim::Quiet quiet;
        SetMenu(host_.app, NULL);
    }
    ASSERT_EQ(Call(kDoHideMenuBar), "1");
    {
        winsim::Quiet quiet;
        ShowWindow(orders_, SW_MAXIMIZE);
    }
    winsim::ClearCallLog();
    EXPECT_EQ(Call(kDoShowMenuBar), "1");
    EXPECT_EQ(winsim::Inspect(host_.app).menu, nullptr);
    EXPECT_EQ(StateOf(orders_), "max");
    for (const char *function : {"ShowWindow", "SendMessageA", "SetWindowPos", "SetMenu"})
        EXPECT_EQ(winsim::CountCalls(function), 0u) << function;
}

// A window that had no menu bar when it was "hidden" gets none at
// shut-down: nothing is owed, and the record is forgotten.
TEST_F(GiveBackTest, ShutDownGivesNothingToAWindowThatHadNoMenuBar)
{
    SetUpDesktop();
    SetMenu(host_.app, NULL);
    ASSERT_EQ(Call(kDoHideMenuBar), "1");
    winsim::ClearCallLog();
    host->Shutdown();
    EXPECT_EQ(winsim::CountCalls("SetMenu"), 0u);
    EXPECT_TRUE(gPluginState.menuBarShown);
    EXPECT_EQ(gPluginState.menuSource, nullptr);
}

// A menu bar goes back only to its own window, and only when that window
// has no menu bar of its own again and the menu still exists.
TEST_F(GiveBackTest, ShutDownPutsTheMenuBackOnlyWhereItFits)
{
    SetUpDesktop();
    ASSERT_EQ(Call(kDoHideMenuBar), "1");
    HMENU replacement;
    {
        winsim::Quiet quiet;
        replacement = CreateMenu();
        SetMenu(host_.app, replacement);
    }
    host->Shutdown();
    EXPECT_EQ(winsim::Inspect(host_.app).menu, replacement) << "the host's new menu bar stays";
    EXPECT_TRUE(gPluginState.menuBarShown);

    ASSERT_EQ(host->Startup(33), kFMXStartupOK);
    ASSERT_EQ(Call(kDoHideMenuBar), "1");
    {
        winsim::Quiet quiet;
        DestroyMenu(replacement);
    }
    winsim::ClearCallLog();
    host->Shutdown();
    EXPECT_EQ(winsim::CountCalls("SetMenu"), 0u) << "a destroyed menu is not attached";
    EXPECT_TRUE(gPluginState.menuBarShown);
}

}  // namespace
