// The preferences dialog, driven through the preferences message with the
// user's actions scripted.
#include "DesktopFixture.h"

using namespace loomvane_test;

namespace {

class PrefDialogTest : public DesktopTest {
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        winsim::SetValue(kSettingsKey, "prefs", REG_SZ, "old#");
        StartHost();
        DefineTemplate(true);
    }

    static void DefineTemplate(bool withTextField)
    {
        std::vector<winsim::DialogControl> controls = {
            {IDC_PREF_PICTURE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP}};
        if (withTextField) {
            controls.push_back({IDC_PREF_TEXT, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP});
            controls.push_back({IDOK, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON});
            controls.push_back({IDCANCEL, "BUTTON", "Cancel", WS_CHILD | WS_VISIBLE});
        }
        winsim::DefineDialog(IDD_PREFERENCES, controls);
    }

    winsim::DialogRun Run(const std::vector<winsim::DialogAction> &actions)
    {
        winsim::ScriptDialog(actions);
        host->Preferences();
        return winsim::LastDialog();
    }

    static std::string TextOf(const winsim::DialogRun &run, int id)
    {
        for (const auto &entry : run.controlTexts)
            if (entry.first == id)
                return entry.second;
        return "<no control>";
    }

    // The stored text. The plug-in writes the characters alone; the platform
    // keeps a REG_SZ terminator that follows them in memory, which is not
    // part of the text.
    static std::string Stored()
    {
        std::string data;
        if (!winsim::GetValue(kSettingsKey, "prefs", &data))
            return "<none>";
        if (!data.empty() && data.back() == '\0')
            data.pop_back();
        return data;
    }
};

TEST_F(PrefDialogTest, OpensOwnedByTheActiveWindow)
{
    winsim::DialogRun run = Run({winsim::Click(IDCANCEL)});
    auto calls = winsim::CallsTo("DialogBoxParamA");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args[0], winsim::Str(TestInstance()));
    EXPECT_EQ(calls[0].args[1], "#22310");
    EXPECT_EQ(calls[0].args[2], winsim::Str(host_.app));
    EXPECT_EQ(calls[0].args[4], "0");
    EXPECT_EQ(run.owner, host_.app);
    EXPECT_EQ(run.initDialogReturn, FALSE);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.endValue, 0);
}

TEST_F(PrefDialogTest, ShowsStoredTextWithFocus)
{
    winsim::DialogRun run = Run({});
    EXPECT_FALSE(run.ended);
    EXPECT_EQ(TextOf(run, IDC_PREF_TEXT), "old#");
    EXPECT_EQ(run.focusControl, IDC_PREF_TEXT);
}

TEST_F(PrefDialogTest, AcceptsTextWithMarkAndStoresExactBytes)
{
    winsim::DialogRun run = Run({winsim::TypeText(IDC_PREF_TEXT, "a#c"), winsim::Click(IDOK)});
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.endValue, 1);
    EXPECT_STREQ(gPluginState.prefText, "a#c");
    EXPECT_EQ(Stored(), "a#c");
    auto sets = winsim::CallsTo("RegSetValueExA");
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].args[5], "3") << "exactly the three characters";
    EXPECT_TRUE(winsim::Beeps().empty());
}

// A "#" anywhere is enough, the first or the last of 1 to 20 characters.
class PrefAcceptTest : public PrefDialogTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(PrefAcceptTest, StoresTheText)
{
    winsim::DialogRun run = Run({winsim::TypeText(IDC_PREF_TEXT, GetParam()), winsim::Click(IDOK)});
    EXPECT_TRUE(run.ended) << GetParam();
    EXPECT_STREQ(gPluginState.prefText, GetParam().c_str());
    EXPECT_EQ(Stored(), GetParam());
    EXPECT_TRUE(winsim::Beeps().empty()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Texts, PrefAcceptTest,
                         ::testing::Values("abc#", "#", "#abc", std::string(19, 'x') + "#"));

struct RefusedCase {
    const char *label;
    std::string typed;
};

class PrefRefusalTest : public PrefDialogTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(PrefRefusalTest, BeepsAndShowsStoredText)
{
    winsim::DialogRun run =
        Run({winsim::TypeText(IDC_PREF_TEXT, GetParam().typed), winsim::Click(IDOK)});
    EXPECT_FALSE(run.ended) << GetParam().label;
    EXPECT_EQ(winsim::Beeps(), std::vector<UINT>{0}) << GetParam().label;
    EXPECT_EQ(TextOf(run, IDC_PREF_TEXT), "old#") << GetParam().label;
    EXPECT_EQ(run.focusControl, IDC_PREF_TEXT) << GetParam().label;
    EXPECT_STREQ(gPluginState.prefText, "old#");
    EXPECT_EQ(Stored(), "old#");
}

INSTANTIATE_TEST_SUITE_P(Texts, PrefRefusalTest,
                         ::testing::Values(RefusedCase{"no mark", "abc"}, RefusedCase{"empty", ""},
                                           RefusedCase{"mark past 20",
                                                       std::string(21, 'x') + "#xyz"}));

TEST_F(PrefDialogTest, LongTextIsCutToTwenty)
{
    std::string typed = "ab#" + std::string(22, 'z');
    winsim::DialogRun run = Run({winsim::TypeText(IDC_PREF_TEXT, typed), winsim::Click(IDOK)});
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(Stored(), typed.substr(0, 20));
    EXPECT_EQ(std::string(gPluginState.prefText), typed.substr(0, 20));
}

// The field takes no more than can be stored: the user who types 25
// characters sees 20, and what is stored is what was seen.
TEST_F(PrefDialogTest, FieldTakesAtMostTwentyTypedCharacters)
{
    std::string typed = "ab#" + std::string(22, 'z');
    winsim::DialogRun left = Run({winsim::TypeKeys(IDC_PREF_TEXT, typed)});
    EXPECT_FALSE(left.ended);
    EXPECT_EQ(TextOf(left, IDC_PREF_TEXT), typed.substr(0, 20));
    EXPECT_EQ(FormattedCalls("SendDlgItemMessageA").size(), 1u);

    winsim::DialogRun run = Run({winsim::TypeKeys(IDC_PREF_TEXT, typed), winsim::Click(IDOK)});
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(Stored(), typed.substr(0, 20));
}

TEST_F(PrefDialogTest, CommandsWithNotificationCodeAreIgnored)
{
    winsim::DialogRun run =
        Run({winsim::TypeText(IDC_PREF_TEXT, "a#c"), winsim::Command(MAKEWPARAM(IDOK, 1)),
             winsim::Command(MAKEWPARAM(IDCANCEL, 1))});
    EXPECT_FALSE(run.ended);
    EXPECT_TRUE(winsim::Beeps().empty());
    EXPECT_EQ(Stored(), "old#");
}

TEST_F(PrefDialogTest, CloseBoxEndsWithZeroChangingNothing)
{
    winsim::DialogRun run = Run({winsim::TypeText(IDC_PREF_TEXT, "new#"), winsim::CloseBox()});
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.endValue, 0);
    EXPECT_STREQ(gPluginState.prefText, "old#");
    EXPECT_EQ(Stored(), "old#");
}

TEST_F(PrefDialogTest, RegistryFailureKeepsTextInMemoryOnly)
{
    winsim::FailCall("RegCreateKeyExA");
    winsim::DialogRun run = Run({winsim::TypeText(IDC_PREF_TEXT, "x#y"), winsim::Click(IDOK)});
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.endValue, 1);
    EXPECT_STREQ(gPluginState.prefText, "x#y");
    EXPECT_EQ(Stored(), "old#");
}

// OK on a text it takes keeps the text, even when the dialog cannot be
// ended: the fuzz target once took this for a change without OK.
TEST_F(PrefDialogTest, AcceptedTextStaysWhenTheDialogCannotEnd)
{
    winsim::FailCall("EndDialog");
    winsim::DialogRun run = Run({winsim::TypeText(IDC_PREF_TEXT, "x#y"), winsim::Click(IDOK)});
    EXPECT_FALSE(run.ended);
    EXPECT_STREQ(gPluginState.prefText, "x#y");
    EXPECT_EQ(Stored(), "x#y");
    EXPECT_TRUE(winsim::Beeps().empty());
}

TEST_F(PrefDialogTest, PictureOnlyTemplateCanOnlyBeDismissed)
{
    DefineTemplate(false);
    winsim::DialogRun run = Run({winsim::Command(IDOK)});
    EXPECT_FALSE(run.ended);
    EXPECT_EQ(winsim::Beeps(), std::vector<UINT>{0});
    run = Run({winsim::CloseBox()});
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.endValue, 0);
    EXPECT_EQ(Stored(), "old#");
}

TEST_F(PrefDialogTest, OtherMessagesAreNotHandled)
{
    HWND dialog = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(prefProc(dialog, WM_PAINT, 0, 0), FALSE);
    EXPECT_EQ(prefProc(dialog, WM_COMMAND, 3, 0), FALSE);
    EXPECT_EQ(prefProc(dialog, WM_COMMAND, IDCANCEL, 0), TRUE);
}

}  // namespace
