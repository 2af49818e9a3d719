// The soak on the simulated desktop: it passes on the plug-in as it is, and
// it reports what it is there to find when the platform makes the plug-in
// leave something behind.
#include "Plugin.h"
#include "Platform.h"
#include "Script.h"
#include "Soak.h"

#include <gtest/gtest.h>
#include <winsim.h>

#include <sstream>
#include <stdexcept>
#include <string>

namespace {

class SoakTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fmhost::PrepareDesktop();
        gPluginState = PluginState();
    }

    // The soak's fault, or "" when it passed.
    std::string Soak(const std::string &cycles, const std::string &calls)
    {
        std::ostringstream out;
        try {
            fmhost::RunSoak({"soak", cycles, calls}, "", out);
        } catch (const std::runtime_error &e) {
            return e.what();
        }
        summary = out.str();
        return "";
    }

    std::string summary;
};

TEST_F(SoakTest, PassesAndLeavesTheDesktopAsItFoundIt)
{
    size_t windows = winsim::WindowCount();
    EXPECT_EQ(Soak("5", "200"), "");
    EXPECT_NE(summary.find("soak: 5 cycles of 200 calls (1000 calls, "), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("windows 12, classes 3 before, windows 12, classes 3 after"),
              std::string::npos)
        << summary;
    // Its own windows are gone again; the task bar it made stays.
    EXPECT_EQ(winsim::WindowCount(), windows + 1);
    EXPECT_EQ(winsim::CursorCount(), 0);
}

TEST_F(SoakTest, FindsAClassLeftRegistered)
{
    winsim::FailCall("UnregisterClassA", 1, true);
    std::string fault = Soak("3", "50");
    EXPECT_NE(fault.find("cycle 1: the class Kwzr-HideBackground is still registered after "
                         "shut-down"),
              std::string::npos)
        << fault;
}

TEST_F(SoakTest, FindsACoverLeftBehind)
{
    // Every cover made outlives its removal, and shut-down's too: the first
    // Kwzr-ShowBackground after a Kwzr-HideBackground cannot remove it.
    winsim::FailCall("DestroyWindow", 1, true);
    std::string fault = Soak("20", "200");
    EXPECT_EQ(fault.rfind("soak: cycle 1, call ", 0), 0u) << fault;
    EXPECT_NE(fault.find("Kwzr-ShowBackground(\"\") answered \"0\": a cover was shown"),
              std::string::npos)
        << fault;
}

TEST_F(SoakTest, RefusesBadCountsAndALoadedModule)
{
    EXPECT_NE(Soak("0", "10").find("CYCLES is a number of at least 1"), std::string::npos);
    EXPECT_NE(Soak("2", "x").find("CALLS is a number of at least 1"), std::string::npos);

    std::istringstream script("names\nsoak 1 10\n");
    std::ostringstream out, err;
    EXPECT_EQ(fmhost::RunScript(script, "t.fmh", fmhost::ScriptOptions(), out, err), 1);
    EXPECT_NE(err.str().find("t.fmh:2: soak loads the plug-in itself: unload it first"),
              std::string::npos)
        << err.str();
}

}  // namespace
