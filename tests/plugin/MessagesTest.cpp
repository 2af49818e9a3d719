// The message cycle and the dispatcher: codes without a message, ids outside
// the table, and which handlers see the parameter.
#include "PluginFixture.h"

using namespace loomvane_test;

namespace {

TEST_F(PluginTest, MessagesWithoutMeaningLeaveResultAndDesktopAlone)
{
    Start();
    for (int code : {1, 2, 6, 7, 100, 254, 255}) {
        winsim::ClearCallLog();
        gFMExternCallPtr = nullptr;
        intptr_t after = host->Send(static_cast<uint8_t>(code), 0x5A5A);
        EXPECT_EQ(after, 0x5A5A) << "code " << code;
        EXPECT_EQ(gFMExternCallPtr, &host->Block()) << "code " << code;
        EXPECT_TRUE(winsim::CallLog().empty()) << "code " << code;
    }
}

TEST_F(PluginTest, EveryMessageRecordsTheBlock)
{
    gFMExternCallPtr = nullptr;
    host->Shutdown();
    EXPECT_EQ(gFMExternCallPtr, &host->Block());
}

TEST_F(PluginTest, IdsOutsideTheTableOnlyBeep)
{
    Start();
    for (uint32_t id : {27u, 28u, 1000u, 0xFFFFFFFFu, 0x80000000u}) {
        winsim::ClearCallLog();
        auto before = winsim::Beeps().size();
        fmhost::CallOutcome out = CallWith(id, "Customers", "untouched");
        EXPECT_EQ(out.result, "untouched") << "id " << id;
        EXPECT_EQ(out.resizes, 0) << "id " << id;
        ASSERT_EQ(winsim::Beeps().size(), before + 1) << "id " << id;
        EXPECT_EQ(winsim::Beeps().back(), 0u);
        EXPECT_EQ(CalledFunctions(), std::vector<std::string>{"MessageBeep"});
    }
}

TEST_F(PluginTest, ResultOnlyHandlersNeverSeeTheParameter)
{
    Start();
    for (uint32_t id : {kDoHideBackground, kDoShowBackground, kDoHideCursor, kDoShowCursor,
                        kDoHideTaskBar, kDoShowTaskBar}) {
        fmhost::CallOutcome out = CallWith(id, "print|Customers|x", "");
        EXPECT_EQ(out.parameterSizeQueries, 0) << "id " << id;
        EXPECT_EQ(out.resultSize, 1) << "id " << id;
    }
}

TEST_F(PluginTest, TableEndsReachTheirHandlers)
{
    Start();
    EXPECT_EQ(Call(0, ""), LOOMVANE_SHORT_VERSION);
    // No document window named Orders: the last entry answers its own refusal.
    winsim::ClearCallLog();
    EXPECT_EQ(Call(26, "Orders"), "0");
    EXPECT_EQ(winsim::CountCalls("FindWindowA"), 1u);
    EXPECT_TRUE(winsim::Beeps().empty());
}

}  // namespace

namespace {

// Everything else reads these from PluginNames.h; here they are held to the
// documented texts, so that a slip in the one definition cannot pass.
TEST(PluginNamesTest, AreTheDocumentedOnes)
{
    EXPECT_STREQ(LOOMVANE_SETTINGS_KEY, "Software\\Quenmark Software\\Loomvane Plugin\\1.1v1");
    EXPECT_STREQ(LOOMVANE_PREFS_VALUE, "prefs");
    EXPECT_STREQ(LOOMVANE_COVER_CLASS, "Kwzr-HideBackground");
    EXPECT_STREQ(LOOMVANE_COVER_TITLE, "Background (Loomvane)");
    EXPECT_STREQ(LOOMVANE_SHORT_VERSION, "Loomvane 1.1v1");
    EXPECT_STREQ(LOOMVANE_LONG_VERSION, "Loomvane 1.1v1 x86");
    static_assert(LOOMVANE_SIZE_ONLY_FLAGS == 0x4216, "SWP_NOMOVE to SWP_ASYNCWINDOWPOS");
    static_assert(LOOMVANE_FUNCTION_COUNT == 27, "ids 0 to 26");
}

}  // namespace
