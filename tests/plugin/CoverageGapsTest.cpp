// Paths that the other tests leave out: a start-up after the host destroyed
// a shown cover, and the bound on the search for further task bars.
#include "DesktopFixture.h"

#include <algorithm>

using namespace loomvane_test;

namespace {

// The host tore the cover down itself (say, on closing all its windows)
// and then started the plug-in again without a shut-down: the record must
// not hold on to a window that is gone, so that a new cover can be made.
TEST_F(PluginTest, RepeatedStartupForgetsACoverThatIsGone)
{
    Start();
    ASSERT_EQ(Call(kDoHideBackground), "1");
    HWND gone = gPluginState.coverWindow;
    {
        winsim::Quiet quiet;
        ASSERT_TRUE(DestroyWindow(gone));
    }
    ASSERT_EQ(host->Startup(33), kFMXStartupOK);
    EXPECT_TRUE(gPluginState.coverAbsent);
    EXPECT_EQ(gPluginState.coverWindow, nullptr);
    EXPECT_EQ(winsim::CountCalls("RegisterClassA"), 0u) << "the class is still registered";

    EXPECT_EQ(Call(kDoHideBackground), "1");
    HWND cover = gPluginState.coverWindow;
    EXPECT_NE(cover, gone);
    EXPECT_TRUE(winsim::Inspect(cover).exists);
    EXPECT_EQ(Call(kDoShowBackground), "1");
    EXPECT_FALSE(winsim::Inspect(cover).exists);
    host->Shutdown();
    EXPECT_TRUE(winsim::RegisteredClasses().empty());
}

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
    EXPECT_EQ(winsim::CountCalls("ShowWindow"), 1u + 64u);
    EXPECT_GT(shownBars(), 80 - 64) << "at most 64 further task bars are hidden";
    EXPECT_LT(shownBars(), 80);

    winsim::ClearCallLog();
    EXPECT_EQ(Call(kDoShowTaskBar), "1");
    EXPECT_EQ(winsim::CountCalls("FindWindowExA"), 1u + 1u + 64u);
    EXPECT_EQ(winsim::CountCalls("ShowWindow"), 1u + 64u);
}

}  // namespace
