// Start-up and shut-down: the interface version, the state record, the stored
// preference text and the cover window's class.
#include "PluginFixture.h"

#include <cstring>

using namespace loomvane_test;

namespace {

struct HostVersionCase {
    int16_t version;
    intptr_t reply;
    int generation;  // 0: the state record stays untouched
};

class StartupVersionTest : public PluginTest,
                           public ::testing::WithParamInterface<HostVersionCase> {};

TEST_P(StartupVersionTest, RepliesAndRecordsGeneration)
{
    const HostVersionCase &c = GetParam();
    EXPECT_EQ(host->Startup(c.version), c.reply) << "extnVersion " << c.version;
    EXPECT_EQ(gPluginState.HostVersion, c.generation);
    if (c.generation == 0) {
        EXPECT_TRUE(winsim::CallLog().empty()) << "a refused version touches nothing";
        // The record as loaded: no menu bar detached, no cover shown.
        EXPECT_TRUE(gPluginState.menuBarShown);
        EXPECT_TRUE(gPluginState.coverAbsent);
        EXPECT_FALSE(gPluginState.coverClassRegistered);
    } else {
        EXPECT_TRUE(gPluginState.menuBarShown);
        EXPECT_TRUE(gPluginState.coverAbsent);
        EXPECT_TRUE(gPluginState.coverClassRegistered);
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, StartupVersionTest,
                         ::testing::Values(HostVersionCase{3, -1, 0}, HostVersionCase{256, -1, 0},
                                           HostVersionCase{-1, -1, 0},
                                           HostVersionCase{-32768, -1, 0}, HostVersionCase{4, 4, 5},
                                           HostVersionCase{255, 4, 5}, HostVersionCase{11, 4, 5},
                                           HostVersionCase{12, 4, 3}, HostVersionCase{13, 4, 5}));

TEST_F(PluginTest, FirstStartupCreatesKeyWithDefaultText)
{
    ASSERT_EQ(host->Startup(33), kFMXStartupOK);
    std::string data;
    DWORD type = 0;
    ASSERT_TRUE(winsim::GetValue(kSettingsKey, "prefs", &data, &type));
    // The platform keeps a REG_SZ terminator that follows the data in memory.
    EXPECT_EQ(data.substr(0, 1), "1");
    EXPECT_EQ(type, (DWORD)REG_SZ);
    EXPECT_STREQ(gPluginState.prefText, "1");

    auto creates = winsim::CallsTo("RegCreateKeyExA");
    ASSERT_EQ(creates.size(), 1u);
    const auto &args = creates[0].args;
    ASSERT_GE(args.size(), 7u);
    EXPECT_EQ(args[0], winsim::Str(HKEY_CURRENT_USER));
    EXPECT_EQ(args[1], std::string("\"") + kSettingsKey + "\"");
    EXPECT_EQ(args[3], "\"REG_SZ\"");
    EXPECT_EQ(args[6], "NULL");
    auto sets = winsim::CallsTo("RegSetValueExA");
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].args[1], "\"prefs\"");
    EXPECT_EQ(sets[0].args[3], std::to_string(REG_SZ));
    EXPECT_EQ(sets[0].args[5], "1") << "the text's bytes alone, without a terminator";
}

// A key that grants reading and writing values and nothing more, as on a
// locked-down or roaming profile: the key is opened with those rights, the
// default is written and later texts are stored.
TEST_F(PluginTest, StartupNeedsOnlyTheRightsToReadAndWriteAValue)
{
    winsim::SetKeyRights(kSettingsKey, KEY_QUERY_VALUE | KEY_SET_VALUE);
    ASSERT_EQ(host->Startup(33), kFMXStartupOK);
    EXPECT_STREQ(gPluginState.prefText, "1");
    EXPECT_EQ(winsim::CallsTo("RegCreateKeyExA")[0].args[5], "0x3");
    EXPECT_TRUE(StorePrefText("a#", 2));
    std::string data;
    ASSERT_TRUE(winsim::GetValue(kSettingsKey, "prefs", &data));
    EXPECT_EQ(data.substr(0, 2), "a#");
}

TEST_F(PluginTest, StartupLoadsExistingText)
{
    winsim::SetValue(kSettingsKey, "prefs", REG_SZ, "ab#cd");
    ASSERT_EQ(host->Startup(33), kFMXStartupOK);
    EXPECT_STREQ(gPluginState.prefText, "ab#cd");
    EXPECT_EQ(winsim::CountCalls("RegSetValueExA"), 0u) << "an existing key is only read";
}

struct PrefValueCase {
    const char *label;
    std::string stored;  // the value's bytes; "<none>" for a key without the value
    intptr_t reply;
    std::string loaded;
};

class PrefValueTest : public PluginTest, public ::testing::WithParamInterface<PrefValueCase> {};

TEST_P(PrefValueTest, LoadsOrRefuses)
{
    const PrefValueCase &c = GetParam();
    winsim::CreateKey(kSettingsKey);
    if (c.stored != "<none>")
        winsim::SetValue(kSettingsKey, "prefs", REG_SZ, c.stored);
    std::memset(gPluginState.prefText, 'Z', sizeof gPluginState.prefText - 1);
    EXPECT_EQ(host->Startup(33), c.reply) << c.label;
    if (c.reply == kFMXStartupOK) {
        EXPECT_EQ(std::string(gPluginState.prefText), c.loaded) << c.label;
        std::string data;
        ASSERT_TRUE(winsim::GetValue(kSettingsKey, "prefs", &data)) << c.label;
        EXPECT_EQ(data.substr(0, c.stored == "<none>" ? 1 : data.size()),
                  c.stored == "<none>" ? "1" : c.stored)
            << c.label;
    }
    EXPECT_FALSE(gPluginState.coverClassRegistered && c.reply != kFMXStartupOK);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PrefValueTest,
    ::testing::Values(PrefValueCase{"missing: the default is written", "<none>", 4, "1"},
                      PrefValueCase{"empty", "", 4, ""},
                      PrefValueCase{"21 bytes", std::string(20, 'x') + "#", 4,
                                    std::string(20, 'x') + "#"},
                      PrefValueCase{"22 bytes", std::string(21, 'x') + "#", -2, ""},
                      PrefValueCase{"21 characters kept with a terminator",
                                    std::string(20, 'x') + "#" + std::string(1, '\0'), 4,
                                    std::string(20, 'x') + "#"},
                      PrefValueCase{"22 characters kept with a terminator",
                                    std::string(21, 'x') + "#" + std::string(1, '\0'), -2, ""},
                      PrefValueCase{"300 bytes", std::string(300, 'y'), -2, ""},
                      PrefValueCase{"zero byte inside", std::string("ab\0cd", 5), 4, "ab"}));

TEST_F(PluginTest, KeyThatCannotBeOpenedFailsStartup)
{
    winsim::FailCall("RegCreateKeyExA");
    EXPECT_EQ(host->Startup(33), kFMXStartupFailed);
    EXPECT_FALSE(gPluginState.coverClassRegistered);
    EXPECT_EQ(winsim::CountCalls("RegisterClassA"), 0u);
    // What the steps before the failure set stands.
    EXPECT_EQ(gPluginState.HostVersion, kHostGeneration5);
    EXPECT_TRUE(gPluginState.menuBarShown);
    EXPECT_TRUE(gPluginState.coverAbsent);
}

TEST_F(PluginTest, DefaultThatCannotBeWrittenFailsStartup)
{
    winsim::FailCall("RegSetValueExA");
    EXPECT_EQ(host->Startup(33), kFMXStartupFailed);
    EXPECT_STREQ(gPluginState.prefText, "1");
    EXPECT_EQ(winsim::CountCalls("RegCloseKey"), 1u);
}

TEST_F(PluginTest, MissingValueWhoseDefaultCannotBeWrittenFailsStartup)
{
    winsim::CreateKey(kSettingsKey);
    winsim::FailCall("RegSetValueExA");
    EXPECT_EQ(host->Startup(33), kFMXStartupFailed);
    EXPECT_FALSE(winsim::GetValue(kSettingsKey, "prefs", nullptr));
    EXPECT_EQ(winsim::CountCalls("RegisterClassA"), 0u);
    EXPECT_EQ(winsim::OpenKeyCount(), 0);
    // The next start-up writes it.
    EXPECT_EQ(host->Startup(33), kFMXStartupOK);
    EXPECT_STREQ(gPluginState.prefText, "1");
}

TEST_F(PluginTest, FailedReadFailsStartup)
{
    winsim::SetValue(kSettingsKey, "prefs", REG_SZ, "a#b");
    winsim::FailCall("RegQueryValueExA", 2);  // the size query passes, the read fails
    EXPECT_EQ(host->Startup(33), kFMXStartupFailed);
    EXPECT_EQ(winsim::CountCalls("RegCloseKey"), 1u);
}

TEST_F(PluginTest, ValueGrowingAfterSizeQueryIsRefusedWithoutOverrun)
{
    winsim::SetValue(kSettingsKey, "prefs", REG_SZ, "a#b");
    winsim::ReplaceValueAfterSizeQuery(kSettingsKey, "prefs", std::string(200, 'Q'));
    EXPECT_EQ(host->Startup(33), kFMXStartupFailed);
    EXPECT_EQ(std::string(gPluginState.prefText).find('Q'), std::string::npos);
    EXPECT_FALSE(gPluginState.coverClassRegistered);
}

TEST_F(PluginTest, CoverClassIsFilledInAndRegistered)
{
    ASSERT_EQ(host->Startup(33), kFMXStartupOK);
    const WNDCLASSA &wc = gPluginState.coverClass;
    EXPECT_EQ(wc.style, 0x24Bu);
    EXPECT_EQ(wc.lpfnWndProc, &BngdWndProc);
    EXPECT_EQ(wc.cbClsExtra, 0);
    EXPECT_EQ(wc.cbWndExtra, 0);
    EXPECT_EQ(wc.hInstance, TestInstance());
    EXPECT_EQ(wc.hIcon, nullptr);
    EXPECT_EQ(wc.hCursor, nullptr);
    EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(2));
    EXPECT_EQ(wc.lpszMenuName, nullptr);
    EXPECT_STREQ(wc.lpszClassName, LOOMVANE_COVER_CLASS);
    EXPECT_NE(gPluginState.coverClassAtom, 0);
    auto classes = winsim::RegisteredClasses();
    EXPECT_NE(std::find(classes.begin(), classes.end(), LOOMVANE_COVER_CLASS), classes.end());
}

TEST_F(PluginTest, CoverWindowProcedurePassesMessagesOn)
{
    winsim::ClearCallLog();
    BngdWndProc(reinterpret_cast<HWND>(0x1234), WM_PAINT, 7, 9);
    auto calls = winsim::CallsTo("DefWindowProcA");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args[1], std::to_string(WM_PAINT));
    EXPECT_EQ(calls[0].args[2], "7");
    EXPECT_EQ(calls[0].args[3], "9");
}

TEST_F(PluginTest, FailedClassRegistrationRepliesFailure)
{
    winsim::FailCall("RegisterClassA");
    EXPECT_EQ(host->Startup(33), kFMXStartupFailed);
    EXPECT_FALSE(gPluginState.coverClassRegistered);
    EXPECT_STREQ(gPluginState.prefText, "1");
    host->Shutdown();
    EXPECT_EQ(winsim::CountCalls("UnregisterClassA"), 0u);
}

TEST_F(PluginTest, ShutdownUnregistersOnlyRegisteredClass)
{
    Start();
    host->Shutdown();
    auto calls = winsim::CallsTo("UnregisterClassA");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args[0], "\"Kwzr-HideBackground\"");
    EXPECT_EQ(calls[0].args[1], winsim::Str(TestInstance()));
    EXPECT_FALSE(gPluginState.coverClassRegistered);
    EXPECT_TRUE(winsim::RegisteredClasses().empty());
    EXPECT_EQ(winsim::CountCalls("DestroyWindow"), 0u) << "no cover window was shown";

    winsim::ClearCallLog();
    host->Shutdown();
    EXPECT_EQ(winsim::CountCalls("UnregisterClassA"), 0u);
}

TEST_F(PluginTest, ShutdownAfterFailedFirstStartupUnregistersNothing)
{
    winsim::FailCall("RegCreateKeyExA");
    ASSERT_EQ(host->Startup(33), kFMXStartupFailed);
    host->Shutdown();
    EXPECT_EQ(winsim::CountCalls("UnregisterClassA"), 0u);
}

TEST_F(PluginTest, ShutdownDestroysShownCoverBeforeUnregistering)
{
    Start();
    ASSERT_EQ(Call(kDoHideBackground), "1");
    HWND cover = gPluginState.coverWindow;
    winsim::ClearCallLog();
    host->Shutdown();
    auto order = CalledFunctions();
    auto destroy = std::find(order.begin(), order.end(), "DestroyWindow");
    auto unregister = std::find(order.begin(), order.end(), "UnregisterClassA");
    ASSERT_NE(destroy, order.end());
    ASSERT_NE(unregister, order.end());
    EXPECT_LT(destroy - order.begin(), unregister - order.begin());
    EXPECT_FALSE(winsim::Inspect(cover).exists);
    EXPECT_TRUE(gPluginState.coverAbsent);
    EXPECT_TRUE(winsim::RegisteredClasses().empty());
}

}  // namespace

namespace {

TEST_F(PluginTest, RepeatedStartupKeepsTheRegisteredClass)
{
    ASSERT_EQ(host->Startup(33), kFMXStartupOK);
    EXPECT_EQ(host->Startup(33), kFMXStartupOK);
    EXPECT_EQ(winsim::CountCalls("RegisterClassA"), 1u);
    EXPECT_TRUE(gPluginState.coverClassRegistered);
    host->Shutdown();
    EXPECT_TRUE(winsim::RegisteredClasses().empty()) << "the one registration is undone";
}

}  // namespace

namespace {

TEST_F(PluginTest, RepeatedStartupKeepsTrackOfAShownCover)
{
    Start();
    ASSERT_EQ(Call(kDoHideBackground), "1");
    HWND cover = gPluginState.coverWindow;
    EXPECT_EQ(host->Startup(33), kFMXStartupOK);
    EXPECT_FALSE(gPluginState.coverAbsent);
    EXPECT_EQ(gPluginState.coverWindow, cover);
    EXPECT_EQ(Call(kDoShowBackground), "1");
    EXPECT_FALSE(winsim::Inspect(cover).exists) << "the cover can still be removed";
}

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

}  // namespace
