// Modal dialogs: the template, the owner, WM_INITDIALOG and the focus, the
// scripted actions, the close box and the way a run ends. The expectations
// follow a dialog of the same template run under Wine 8.
#include "WinsimFixture.h"

#include <cstdio>
#include <cstring>

using namespace winsim_test;

namespace {

constexpr int kPicture = 10;
constexpr int kText = 11;
constexpr int kTemplate = 100;

struct Observed {
    std::vector<std::string> events;
    INT_PTR initAnswer = FALSE;
    bool focusTextAtInit = false;
    bool postAfterEnd = false;
    HWND dialog = NULL;
    LONG initControl = 0;  // the id of the control WM_INITDIALOG names
    LPARAM initParam = 0;
    BOOL ownerEnabledAtInit = TRUE;
    HWND focusBefore = reinterpret_cast<HWND>(1);
    HWND activeAfterFocus = NULL;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string className;
    std::string textAtCommand;
};

Observed gSeen;
HWND gOwner = NULL;

std::string Source(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0)
        return "0";
    return reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, LOWORD(wParam)) ? "control"
                                                                                : "other";
}

INT_PTR CALLBACK ProbeDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    char text[64];
    switch (message) {
    case WM_INITDIALOG:
        gSeen.dialog = dialog;
        gSeen.initControl = GetWindowLongA(reinterpret_cast<HWND>(wParam), GWL_ID);
        gSeen.initParam = lParam;
        gSeen.ownerEnabledAtInit = IsWindowEnabled(gOwner);
        gSeen.style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
        gSeen.exStyle = static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE));
        GetClassNameA(dialog, text, sizeof text);
        gSeen.className = text;
        if (gSeen.focusTextAtInit) {
            gSeen.focusBefore = SetFocus(GetDlgItem(dialog, kText));
            gSeen.activeAfterFocus = GetActiveWindow();
        }
        return gSeen.initAnswer;
    case WM_COMMAND:
        std::snprintf(text, sizeof text, "COMMAND 0x%lx %s", static_cast<unsigned long>(wParam),
                      Source(dialog, wParam, lParam).c_str());
        gSeen.events.push_back(text);
        if (HIWORD(wParam) == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            GetDlgItemTextA(dialog, kText, text, sizeof text);
            gSeen.textAtCommand = text;
            EndDialog(dialog, LOWORD(wParam) == IDOK ? 100 : 200);
            if (gSeen.postAfterEnd) {
                PostMessageA(dialog, WM_USER, 0, 0);
                EndDialog(dialog, 300);
            }
        }
        return TRUE;
    case WM_SYSCOMMAND:
        gSeen.events.push_back("SYSCOMMAND");
        return FALSE;
    case WM_CLOSE:
        gSeen.events.push_back("CLOSE");
        return FALSE;
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
        gOwner = owner;
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

TEST_F(DialogTest, UnknownTemplateOrOwner)
{
    winsim::ScriptDialog({winsim::Click(IDOK)});
    EXPECT_EQ(DialogBoxParamA(Instance(), MAKEINTRESOURCEA(555), owner, ProbeDialog, 0), -1);
    EXPECT_FALSE(winsim::LastDialog().ran);
    EXPECT_EQ(DialogBoxParamA(Instance(), MAKEINTRESOURCEA(kTemplate),
                              reinterpret_cast<HWND>(0x777), ProbeDialog, 0),
              0);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(winsim::WindowCount(), 1u);
}

TEST_F(DialogTest, DialogWindowAndInitialization)
{
    EXPECT_EQ(Run({}), -1);
    winsim::DialogRun run = winsim::LastDialog();
    EXPECT_TRUE(run.ran);
    EXPECT_FALSE(run.ended);
    EXPECT_EQ(run.owner, owner);
    EXPECT_TRUE(run.ownerDisabledDuring);
    EXPECT_FALSE(gSeen.ownerEnabledAtInit);
    EXPECT_EQ(gSeen.className, "#32770");
    EXPECT_EQ(gSeen.style, 0x84c800c4u);
    EXPECT_EQ(gSeen.exStyle, 0x10101u);
    EXPECT_EQ(gSeen.initParam, 42);
    EXPECT_EQ(TextOf(run, kText), "start");
    EXPECT_EQ(gSeen.initControl, kText) << "the first tab stop, not the first control";
    EXPECT_EQ(run.focusControl, kText) << "shown, the dialog focuses its first tab stop";
    EXPECT_TRUE(IsWindowEnabled(owner)) << "a dialog left open gives its owner back";
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(winsim::WindowCount(), 1u);
}

TEST_F(DialogTest, PictureOnlyDialogFocusesThePicture)
{
    Define(false, 0);
    Run({});
    EXPECT_EQ(gSeen.initControl, kPicture);
    EXPECT_EQ(winsim::LastDialog().focusControl, kPicture);
}

// The owner had the focus and lost it when it was disabled.
TEST_F(DialogTest, FocusSetDuringInitialization)
{
    gSeen.focusTextAtInit = true;
    Run({});
    EXPECT_EQ(gSeen.focusBefore, nullptr);
    EXPECT_EQ(gSeen.activeAfterFocus, gSeen.dialog) << "the dialog became active";
    EXPECT_EQ(winsim::LastDialog().focusControl, kText);
}

TEST_F(DialogTest, OwnerIsTheTopLevelWindow)
{
    HWND child = Make("kid", WS_CHILD | WS_VISIBLE, 0, 0, 40, 30, owner);
    gOwner = owner;
    Run({}, child);
    EXPECT_EQ(winsim::LastDialog().owner, owner);
    EXPECT_FALSE(gSeen.ownerEnabledAtInit);
}

TEST_F(DialogTest, TypeThenClickEnds)
{
    INT_PTR result =
        Run({winsim::TypeText(kText, "a#c"), winsim::Click(IDOK), winsim::Click(IDCANCEL)});
    EXPECT_EQ(result, 100);
    winsim::DialogRun run = winsim::LastDialog();
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.endValue, 100);
    EXPECT_EQ(run.actionsUsed, 2);
    EXPECT_EQ(gSeen.textAtCommand, "a#c");
    EXPECT_EQ(TextOf(run, kText), "a#c");
    EXPECT_EQ(gSeen.events, std::vector<std::string>{"COMMAND 0x1 control"});
    EXPECT_EQ(run.focusControl, 0) << "EndDialog hands the focus back to the owner";
    EXPECT_EQ(GetFocus(), owner);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(DialogTest, CommandsCarryTheirWParam)
{
    Run({winsim::Command(MAKEWPARAM(IDOK, 1)), winsim::Command(IDCANCEL)});
    EXPECT_EQ(gSeen.events, (std::vector<std::string>{"COMMAND 0x10001 0", "COMMAND 0x2 0"}));
    EXPECT_EQ(winsim::LastDialog().endValue, 200);
}

TEST_F(DialogTest, ClickReachesOnlyAnEnabledControl)
{
    Define(true, WS_CHILD | WS_VISIBLE | WS_DISABLED);
    EXPECT_EQ(Run({winsim::Click(IDCANCEL), winsim::Click(99)}), -1);
    EXPECT_TRUE(gSeen.events.empty());
    EXPECT_EQ(winsim::LastDialog().actionsUsed, 2);
}

// DefDlgProc turns WM_CLOSE into Cancel with the button as lParam, even a
// disabled one; without the button lParam is 0.
TEST_F(DialogTest, CloseBoxBecomesCancel)
{
    EXPECT_EQ(Run({winsim::CloseBox()}), 200);
    EXPECT_EQ(gSeen.events,
              (std::vector<std::string>{"SYSCOMMAND", "CLOSE", "COMMAND 0x2 control"}));
    gSeen.events.clear();
    Define(true, WS_CHILD | WS_VISIBLE | WS_DISABLED);
    EXPECT_EQ(Run({winsim::CloseBox()}), 200);
    EXPECT_EQ(gSeen.events.back(), "COMMAND 0x2 control");
    gSeen.events.clear();
    Define(false, 0);
    EXPECT_EQ(Run({winsim::CloseBox()}), 200);
    EXPECT_EQ(gSeen.events.back(), "COMMAND 0x2 0");
}

TEST_F(DialogTest, MessagesAfterTheEndAreDropped)
{
    gSeen.postAfterEnd = true;
    EXPECT_EQ(Run({winsim::Click(IDOK), winsim::CloseBox()}), 300) << "the last EndDialog counts";
    EXPECT_EQ(gSeen.events, std::vector<std::string>{"COMMAND 0x1 control"});
    EXPECT_EQ(winsim::LastDialog().actionsUsed, 1);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
}

TEST_F(DialogTest, MessageActionReachesTheProcedure)
{
    winsim::DialogAction post{};
    post.kind = winsim::DialogAction::Message;
    post.message = WM_USER;
    Run({post});
    EXPECT_EQ(gSeen.events, std::vector<std::string>{"USER"});
}

// Wine's EndDialog enables the owner even when it was disabled before.
TEST_F(DialogTest, OwnerDisabledBeforeIsEnabledAfter)
{
    EnableWindow(owner, FALSE);
    Run({winsim::Click(IDOK)});
    EXPECT_TRUE(winsim::LastDialog().ownerDisabledDuring);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(WinsimTest, DialogItemFunctions)
{
    HWND dialog =
        CreateWindowExA(0, "#32770", "d", WS_POPUP, 0, 0, 200, 100, NULL, NULL, Instance(), NULL);
    HWND edit = CreateWindowExA(0, "Edit", "hello world", WS_CHILD, 0, 0, 50, 10, dialog,
                                reinterpret_cast<HMENU>(11), Instance(), NULL);
    HWND other = Make("other", WS_POPUP);
    EXPECT_EQ(GetDlgItem(dialog, 11), edit);
    EXPECT_EQ(GetDlgItem(dialog, 99), nullptr);
    char buffer[16];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetDlgItemTextA(dialog, 11, buffer, 5), 4u);
    EXPECT_STREQ(buffer, "hell");
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetDlgItemTextA(dialog, 99, buffer, 16), 0u);
    EXPECT_EQ(buffer[0], '\0') << "a missing control empties the buffer";
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetDlgItemTextA(dialog, 99, buffer, 0), 0u);
    EXPECT_EQ(buffer[0], 'X');
    EXPECT_TRUE(SetDlgItemTextA(dialog, 11, "new"));
    EXPECT_EQ(winsim::Inspect(edit).title, "new");
    EXPECT_FALSE(SetDlgItemTextA(dialog, 99, "x"));
    EXPECT_FALSE(EndDialog(other, 5)) << "not a dialog";
}

}  // namespace
