// The stand-in host's script language: errors name their line and never
// crash, results and checks are compared, and the host's memory moves.
#include "HostSession.h"
#include "PluginNames.h"
#include "Script.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct RunResult {
    int failures;
    std::string out;
    std::string err;
};

RunResult RunText(const std::string &script, bool interactive = false)
{
    std::istringstream in(script);
    std::ostringstream out, err;
    fmhost::ScriptOptions options;
    options.interactive = interactive;
    int failures = fmhost::RunScript(in, "t.fmh", options, out, err);
    return {failures, out.str(), err.str()};
}

TEST(ScriptTest, CallsPrintTheirResult)
{
    RunResult r = RunText(
        "startup 33 expect 4\ncall Kwzr-Version \"p\" expect \"" LOOMVANE_LONG_VERSION "\"\n");
    EXPECT_EQ(r.failures, 0) << r.err;
    EXPECT_NE(r.out.find("startup 33 -> 4"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Kwzr-Version(\"p\") -> \"" LOOMVANE_LONG_VERSION "\""), std::string::npos)
        << r.out;
}

TEST(ScriptTest, BadLinesNameTheirLine)
{
    const std::pair<std::string, std::string> cases[] = {
        {"# comment\n\nfrobnicate\n", "t.fmh:3: unknown command 'frobnicate'"},
        {"call \"Kwzr-Version\n", "t.fmh:1: unterminated quotation mark"},
        {"startup 33\ncall Kwzr-Nothing\n", "t.fmh:2: the plug-in has no function 'Kwzr-Nothing'"},
        {"startup 33\ncall Kwzr-Version \"\" expect \"x\"\n",
         "t.fmh:2: expected \"x\", got \"" LOOMVANE_SHORT_VERSION "\""},
        {"check rect nowhere 1 2 3 4\n", "t.fmh:1: no window named 'nowhere'"},
        {"startup abc\n", "t.fmh:1: not a number for version: 'abc'"},
        {"app main at=1,2\n", "t.fmh:1: a rectangle is x,y,width,height: '1,2'"},
        {"startup 33\nregistry set\n", "t.fmh:2: registry clear"},
        {"app main\nmenu main old\n", "t.fmh:2: menu NAME new|none"},
        {"app main\ncheck menuitems main 5\n",
         "t.fmh:2: menu bar of main: expected 5 items with the buttons of none, found 4"},
        {"trace on\n", "t.fmh:1: the stand-in counts no messages: 'trace on native=skip'"},
        {"trace on native=skip\napp main\ncheck messages main nccalsize 0\n",
         "t.fmh:3: no message kind 'nccalsize'"},
        {"app main\ncheck messages main all 0\n", "t.fmh:2: no traced call reached 'main'"},
        {"collateral nowhere\n", "t.fmh:1: collateral: no state 'nowhere'"},
    };
    for (const auto &c : cases) {
        RunResult r = RunText(c.first);
        EXPECT_EQ(r.failures, 1) << c.first;
        EXPECT_EQ(r.err.substr(0, c.second.size()), c.second) << c.first;
    }
}

TEST(ScriptTest, BatchStopsAtFirstFailureInteractiveGoesOn)
{
    std::string script = "nope\nstartup 33\nalso-nope\n";
    EXPECT_EQ(RunText(script).failures, 1);
    RunResult interactive = RunText(script, true);
    EXPECT_EQ(interactive.failures, 2);
    EXPECT_NE(interactive.out.find("fmhost> "), std::string::npos);
}

TEST(ScriptTest, ChecksCompareRealWindowState)
{
    RunResult ok = RunText(
        "startup 33\napp main\ndoc orders Orders at=50,60,300,200\n"
        "check rect orders 50 60 350 260\ncheck visible orders 1\n"
        "call Kwzr-HideWindow Orders expect 1\ncheck visible orders 0\n");
    EXPECT_EQ(ok.failures, 0) << ok.err;
    RunResult bad = RunText(
        "startup 33\napp main\ndoc orders Orders at=50,60,300,200\n"
        "check rect orders 50 60 350 261\n");
    EXPECT_EQ(bad.err,
              "t.fmh:4: rect of orders: expected (50,60)-(350,261), found "
              "(50,60)-(350,260)\n");
    // The stand-in counts no messages: a check of them says it is skipped.
    RunResult skipped = RunText("trace on native=skip\napp main\ncheck messages main all 3\n");
    EXPECT_EQ(skipped.failures, 0) << skipped.err;
    EXPECT_NE(skipped.out.find("check messages main all 3: skipped on the stand-in"),
              std::string::npos)
        << skipped.out;
}

TEST(HandleArenaTest, EveryResizeMovesAndPoisonsTheOldBlock)
{
    fmhost::HandleArena arena;
    HostHandle handle = arena.New("abc");
    char *first = *handle;
    arena.Resize(handle, 5);
    EXPECT_NE(*handle, first);
    EXPECT_EQ(arena.Size(handle), 5);
    EXPECT_EQ(arena.Bytes(handle).substr(0, 3), "abc");
    EXPECT_TRUE(arena.RetiredBlocksIntact());
    first[0] = 'x';  // a plug-in keeping a stale inner pointer
    EXPECT_FALSE(arena.RetiredBlocksIntact());
    arena.Resize(handle, 0);
    EXPECT_EQ(arena.Bytes(handle), "");
}

}  // namespace
