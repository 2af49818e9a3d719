// The scripted dialogs' control side: the record of a run that LastDialog
// gives (whether it ran and ended, with what, its owner, the texts and the
// focus at the end, the actions used), a script used up, and actions on a
// control that is not there. What the dialog does is held to Wine in
// tests/conformance/DialogsTest.cpp.
#include "WinsimFixture.h"

using namespace winsim_test;

namespace {

constexpr int kPicture = 10;
constexpr int kText = 11;
constexpr int kTemplate = 100;

struct Observed {
    std::vector<std::string> events;  // the commands and WM_USER
    bool focusTextAtInit = false;
    bool postAfterEnd = false;
};

Observed gSeen;

INT_PTR CALLBACK ProbeDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        if (gSeen.focusTextAtInit)
            SetFocus(GetDlgItem(dialog, kText));
        return FALSE;
    case WM_COMMAND:
        gSeen.events.push_back("COMMAND");
        if (HIWORD(wParam) == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            EndDialog(dialog, LOWORD(wParam) == IDOK ? 100 : 200);
            if (gSeen.postAfterEnd) {
                PostMessageA(dialog, WM_USER, 0, 0);
                EndDialog(dialog, 300);
            }
        }
        return TRUE;
    case WM_USER:
        gSeen.events.push_back("USER");
        return TRUE;
    default:
        return FALSE;
    }
}

class DialogTest : public WinsimTest {
protected:
    void SetUp() override
    {
        WinsimTest::SetUp();
        gSeen = Observed();
        owner = Make("Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300);
        Define(true, WS_CHILD | WS_VISIBLE);
    }

    static void Define(bool withText, DWORD cancelStyle)
    {
        std::vector<winsim::DialogControl> controls = {
            {kPicture, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP}};
        if (withText) {
            controls.push_back({kText, "EDIT", "start", WS_CHILD | WS_VISIBLE | WS_TABSTOP});
            controls.push_back({IDOK, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON});
            controls.push_back({IDCANCEL, "BUTTON", "Cancel", cancelStyle});
        }
        winsim::DefineDialog(kTemplate, controls);
    }

    INT_PTR Run(const std::vector<winsim::DialogAction> &actions, HWND by = NULL)
    {
        winsim::ScriptDialog(actions);
        return DialogBoxParamA(Instance(), MAKEINTRESOURCEA(kTemplate), by ? by : owner,
                               ProbeDialog, 42);
    }

    static std::string TextOf(const winsim::DialogRun &run, int id)
    {
        for (const auto &entry : run.controlTexts)
            if (entry.first == id)
                return entry.second;
        return "<none>";
    }

    HWND owner = NULL;
};

TEST_F(DialogTest, UnknownTemplateIsNoRun)
{
    winsim::ScriptDialog({winsim::Click(IDOK)});
    EXPECT_EQ(DialogBoxParamA(Instance(), MAKEINTRESOURCEA(555), owner, ProbeDialog, 0), -1);
    EXPECT_FALSE(winsim::LastDialog().ran);
}

// A dialog whose script is used up without EndDialog is left open: it
// answers -1, and the record tells of the dialog as it was then.
TEST_F(DialogTest, RecordOfADialogLeftOpen)
{
    EXPECT_EQ(Run({}), -1);
    winsim::DialogRun run = winsim::LastDialog();
    EXPECT_TRUE(run.ran);
    EXPECT_FALSE(run.ended);
    EXPECT_EQ(run.owner, owner);
    EXPECT_TRUE(run.ownerDisabledDuring);
    EXPECT_EQ(TextOf(run, kText), "start");
    EXPECT_EQ(run.focusControl, kText) << "shown, the dialog focuses its first tab stop";
}

TEST_F(DialogTest, PictureOnlyDialogFocusesThePicture)
{
    Define(false, 0);
    Run({});
    EXPECT_EQ(winsim::LastDialog().focusControl, kPicture);
}

TEST_F(DialogTest, FocusSetDuringInitialization)
{
    gSeen.focusTextAtInit = true;
    Run({});
    EXPECT_EQ(winsim::LastDialog().focusControl, kText);
}

TEST_F(DialogTest, OwnerIsTheTopLevelWindow)
{
    HWND child = Make("kid", WS_CHILD | WS_VISIBLE, 0, 0, 40, 30, owner);
    Run({}, child);
    EXPECT_EQ(winsim::LastDialog().owner, owner);
}

// Actions after the one that ended the dialog are not used.
TEST_F(DialogTest, TypeThenClickEnds)
{
    Run({winsim::TypeText(kText, "a#c"), winsim::Click(IDOK), winsim::Click(IDCANCEL)});
    winsim::DialogRun run = winsim::LastDialog();
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.endValue, 100);
    EXPECT_EQ(run.actionsUsed, 2);
    EXPECT_EQ(TextOf(run, kText), "a#c");
    EXPECT_EQ(run.focusControl, 0) << "EndDialog hands the focus back to the owner";
}

TEST_F(DialogTest, CommandsCarryTheirWParam)
{
    Run({winsim::Command(MAKEWPARAM(IDOK, 1)), winsim::Command(IDCANCEL)});
    EXPECT_EQ(winsim::LastDialog().endValue, 200);
}

// A click on a disabled control, or on one that is not there, does nothing
// and is used all the same.
TEST_F(DialogTest, ClickReachesOnlyAnEnabledControl)
{
    Define(true, WS_CHILD | WS_VISIBLE | WS_DISABLED);
    EXPECT_EQ(Run({winsim::Click(IDCANCEL), winsim::Click(99)}), -1);
    EXPECT_TRUE(gSeen.events.empty());
    EXPECT_EQ(winsim::LastDialog().actionsUsed, 2);
}

TEST_F(DialogTest, MessagesAfterTheEndAreDropped)
{
    gSeen.postAfterEnd = true;
    Run({winsim::Click(IDOK), winsim::CloseBox()});
    EXPECT_EQ(winsim::LastDialog().actionsUsed, 1);
}

TEST_F(DialogTest, MessageActionReachesTheProcedure)
{
    winsim::DialogAction post{};
    post.kind = winsim::DialogAction::Message;
    post.message = WM_USER;
    Run({post});
    EXPECT_EQ(gSeen.events, std::vector<std::string>{"USER"});
}

TEST_F(DialogTest, OwnerDisabledBeforeIsDisabledDuring)
{
    EnableWindow(owner, FALSE);
    Run({winsim::Click(IDOK)});
    EXPECT_TRUE(winsim::LastDialog().ownerDisabledDuring);
}

}  // namespace
