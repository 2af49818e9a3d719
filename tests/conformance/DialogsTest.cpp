// Modal dialogs (winsim/src/Dialogs.cpp): the dialog a template makes, its
// owner, WM_INITDIALOG and the focus the dialog starts with, what the user
// types and clicks, DefDlgProc's close box, the dialog items and how a
// dialog ends. Under Wine a timer takes the user's steps one at a time
// inside the dialog's modal loop, clicking with the mouse, as the stand-in
// host drives the preferences dialog; the stand-in takes the same steps as
// the actions of its scripted dialogs.
#include "ConformanceFixture.h"

#include "DialogsTest.h"

#include "../common/RectOps.h"

#ifndef _WIN32
#include <winsim.h>
#endif

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace conformance {
namespace {

// What the user does in the open dialog.
struct Step {
    enum Kind { Type, Keys, Click, Command, CloseBox, Message } kind;
    int control;       // Type, Keys, Click
    std::string text;  // Type (set as the text), Keys (typed over the text)
    WPARAM wParam;     // Command: the WM_COMMAND wParam; Message: wParam
    UINT message;      // Message: sent to the dialog
};

Step TypeText(int control, const std::string &text)
{
    return {Step::Type, control, text, 0, 0};
}
Step TypeKeys(int control, const std::string &text)
{
    return {Step::Keys, control, text, 0, 0};
}
Step ClickOn(int control)
{
    return {Step::Click, control, "", 0, 0};
}
Step Command(WPARAM wParam)
{
    return {Step::Command, 0, "", wParam, 0};
}
Step CloseBox()
{
    return {Step::CloseBox, 0, "", 0, 0};
}

// The dialog procedure's own messages: it notes where the focus is, or does
// what a test asks of it there.
constexpr UINT kNote = WM_USER + 1;
constexpr UINT kFocusOther = WM_USER + 2;   // the focus on the other button
constexpr UINT kAwayAndBack = WM_USER + 3;  // another window active, then the dialog
Step Note()
{
    return {Step::Message, 0, "", 0, kNote};
}
Step Send(UINT message)
{
    return {Step::Message, 0, "", 0, message};
}

// What the dialog procedure does and what it saw.
struct Seen {
    // What it does.
    INT_PTR initAnswer = TRUE;
    int focusAtInit = 0;      // a control it gives the focus in WM_INITDIALOG
    UINT limit = 0;           // EM_LIMITTEXT for the text, when not 0
    INT_PTR endAtInit = -99;  // ends the dialog in WM_INITDIALOG, unless -99
    bool postAtInit = false;  // posts WM_USER to itself in WM_INITDIALOG
    bool postAfterEnd = false;
    bool destroyOnCommand = false;
    HWND other = NULL;  // what kAwayAndBack activates on the way
    // What it saw.
    std::vector<std::string> events;
    HWND dialog = NULL;
    int initControl = 0;  // the id of the control WM_INITDIALOG names
    LPARAM initParam = 0;
    HWND ownerAtInit = NULL;
    bool ownerEnabledAtInit = true;
    std::string className;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect = {0, 0, 0, 0};  // in the owner's client coordinates
    HWND focusBefore = reinterpret_cast<HWND>(1);
    bool activeAfterFocus = false;
    std::string textAtCommand;
    std::string focusAtCommand;
    std::vector<std::string> notes;  // each kNote: the focus and the text
};

Seen gSeen;

int IdOf(HWND window)
{
    return static_cast<int>(GetWindowLongA(window, GWL_ID));
}

// "dialog", the id of the dialog's control that has the focus, "none", or
// "outside".
std::string FocusName(HWND dialog)
{
    HWND focus = GetFocus();
    if (focus == NULL)
        return "none";
    if (focus == dialog)
        return "dialog";
    return GetParent(focus) == dialog ? std::to_string(IdOf(focus)) : "outside";
}

std::string Text(HWND dialog, int id)
{
    char text[64] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// What a command's lParam names: "0", "control" (the control of the id), or
// "other".
std::string Source(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0)
        return "0";
    return reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, LOWORD(wParam)) ? "control"
                                                                                : "other";
}

void Initialize(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    gSeen.dialog = dialog;
    gSeen.initControl = IdOf(reinterpret_cast<HWND>(wParam));
    gSeen.initParam = lParam;
    gSeen.ownerAtInit = GetWindow(dialog, GW_OWNER);
    gSeen.ownerEnabledAtInit = IsWindowEnabled(gSeen.ownerAtInit) != FALSE;
    char name[32] = "";
    GetClassNameA(dialog, name, sizeof name);
    gSeen.className = name;
    gSeen.style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
    gSeen.exStyle = static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE));
    GetWindowRect(dialog, &gSeen.rect);
    MapWindowPoints(NULL, gSeen.ownerAtInit, reinterpret_cast<POINT *>(&gSeen.rect), 2);
    if (gSeen.limit != 0)
        SendDlgItemMessageA(dialog, IDC_TEXT, EM_LIMITTEXT, gSeen.limit, 0);
    if (gSeen.focusAtInit != 0) {
        gSeen.focusBefore = SetFocus(GetDlgItem(dialog, gSeen.focusAtInit));
        gSeen.activeAfterFocus = GetActiveWindow() == dialog;
    }
    if (gSeen.postAtInit)
        PostMessageA(dialog, WM_USER, 0, 0);
    if (gSeen.endAtInit != -99)
        EndDialog(dialog, gSeen.endAtInit);
}

// A command from an edit control is a notification of a change, which the
// stand-in does not send: it is not noted.
void NoteCommand(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    char name[16] = "";
    if (lParam != 0 && GetClassNameA(reinterpret_cast<HWND>(lParam), name, sizeof name) &&
        std::strcmp(name, "Edit") == 0)
        return;
    char text[64];
    std::snprintf(text, sizeof text, "COMMAND 0x%lx %s", static_cast<unsigned long>(wParam),
                  Source(dialog, wParam, lParam).c_str());
    gSeen.events.push_back(text);
    gSeen.focusAtCommand = FocusName(dialog);
    if (HIWORD(wParam) != 0 || (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL))
        return;
    gSeen.textAtCommand = Text(dialog, IDC_TEXT);
    if (gSeen.destroyOnCommand) {
        DestroyWindow(dialog);
        return;
    }
    EndDialog(dialog, LOWORD(wParam) == IDOK ? 100 : 200);
    if (gSeen.postAfterEnd) {
        PostMessageA(dialog, WM_USER, 0, 0);
        EndDialog(dialog, 300);
    }
}

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        Initialize(dialog, wParam, lParam);
        return gSeen.initAnswer;
    case WM_COMMAND:
        NoteCommand(dialog, wParam, lParam);
        return TRUE;
    case WM_SHOWWINDOW:
        if (lParam == 0)
            gSeen.events.push_back(wParam ? "SHOW" : "HIDE");
        return FALSE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            gSeen.events.push_back("SYSCOMMAND");
        return FALSE;
    case WM_CLOSE:
        gSeen.events.push_back("CLOSE");
        return FALSE;
    case WM_USER:
        gSeen.events.push_back("USER");
        return TRUE;
    case kNote:
        gSeen.notes.push_back(FocusName(dialog) + " " + Text(dialog, IDC_TEXT));
        return TRUE;
    case kFocusOther:
        SetFocus(GetDlgItem(dialog, IDC_OTHER));
        return TRUE;
    case kAwayAndBack:
        SetActiveWindow(gSeen.other);
        SetActiveWindow(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

#ifdef _WIN32

// The user: one step a tick, inside the modal loop; once the steps are done,
// a dialog still open is ended from outside with -1, which the stand-in
// answers for a dialog left open.
struct Driver {
    std::vector<Step> steps;
    size_t next = 0;
    HWND dialog = NULL;
    UINT_PTR timer = 0;
    int waits = 0;
} gDriver;

// The shown dialog of this thread.
HWND OpenDialog()
{
    for (HWND w = FindWindowExA(NULL, NULL, "#32770", NULL); w != NULL;
         w = FindWindowExA(NULL, w, "#32770", NULL))
        if (GetWindowThreadProcessId(w, NULL) == GetCurrentThreadId() && IsWindowVisible(w))
            return w;
    return NULL;
}

// A click of the left mouse button in the middle of the control, which the
// modal loop handles after this step.
void ClickControl(HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    SendLeftClick({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void Take(HWND dialog, const Step &step)
{
    HWND control = step.control != 0 ? GetDlgItem(dialog, step.control) : NULL;
    switch (step.kind) {
    case Step::Type:
        SetDlgItemTextA(dialog, step.control, step.text.c_str());
        break;
    case Step::Keys:
        SendMessageA(control, EM_SETSEL, 0, -1);
        for (char c : step.text)
            SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
        break;
    case Step::Click:
        ClickControl(control);
        break;
    case Step::Command:
        SendMessageA(dialog, WM_COMMAND, step.wParam, 0);
        break;
    case Step::CloseBox:
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case Step::Message:
        SendMessageA(dialog, step.message, step.wParam, 0);
        break;
    }
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (gDriver.dialog == NULL && (gDriver.dialog = OpenDialog()) == NULL) {
        if (++gDriver.waits > 250)  // five seconds: the dialog never showed
            KillTimer(NULL, gDriver.timer);
        return;
    }
    if (gDriver.next < gDriver.steps.size()) {
        Take(gDriver.dialog, gDriver.steps[gDriver.next++]);
        return;
    }
    KillTimer(NULL, gDriver.timer);
    EndDialog(gDriver.dialog, -1);
}

INT_PTR RunDialog(LPCSTR name, HWND owner, const std::vector<Step> &steps)
{
    gDriver = Driver();
    gDriver.steps = steps;
    gDriver.timer = SetTimer(NULL, 0, 20, DriveDialog);
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(NULL), name, owner, Procedure, 42);
    KillTimer(NULL, gDriver.timer);
    return result;
}

#else

INT_PTR RunDialog(LPCSTR name, HWND owner, const std::vector<Step> &steps)
{
    std::vector<winsim::DialogAction> actions;
    for (const Step &step : steps) {
        switch (step.kind) {
        case Step::Type:
            actions.push_back(winsim::TypeText(step.control, step.text));
            break;
        case Step::Keys:
            actions.push_back(winsim::TypeKeys(step.control, step.text));
            break;
        case Step::Click:
            actions.push_back(winsim::Click(step.control));
            break;
        case Step::Command:
            actions.push_back(winsim::Command(step.wParam));
            break;
        case Step::CloseBox:
            actions.push_back(winsim::CloseBox());
            break;
        case Step::Message: {
            winsim::DialogAction action{};
            action.kind = winsim::DialogAction::Message;
            action.message = step.message;
            action.wParam = step.wParam;
            actions.push_back(action);
            break;
        }
        }
    }
    winsim::ScriptDialog(actions);
    // A null instance stands for the program, whose templates the stand-in holds.
    return DialogBoxParamA(NULL, name, owner, Procedure, 42);
}

// The stand-in's templates: the controls of the resource script's.
#define DIALOG_CONTROL(text, id, className, style, y) {id, className, text, style},
void DefineDialogs()
{
    winsim::DefineDialog(IDD_FULL, {FULL_DIALOG(DIALOG_CONTROL)});
    winsim::DefineDialog(IDD_DISABLED_CANCEL, {DISABLED_CANCEL_DIALOG(DIALOG_CONTROL)});
    winsim::DefineDialog(IDD_PICTURE, {PICTURE_DIALOG(DIALOG_CONTROL)});
    winsim::DefineDialog(IDD_BROKEN, {BROKEN_DIALOG(DIALOG_CONTROL)});
    winsim::DefineDialog(IDD_EMPTY, {EMPTY_DIALOG(DIALOG_CONTROL)});
}
#undef DIALOG_CONTROL

#endif

class DialogsTest : public ConformanceTest {
protected:
    void SetUp() override
    {
        ConformanceTest::SetUp();
#ifndef _WIN32
        DefineDialogs();
#endif
        gSeen = Seen();
        owner = Make("Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300);
        Pump();
    }

    INT_PTR Run(int id, const std::vector<Step> &steps, HWND by = NULL)
    {
        return RunDialog(MAKEINTRESOURCEA(id), by ? by : owner, steps);
    }

    // The dialogs of this thread that exist.
    static int Dialogs()
    {
        int count = 0;
        for (HWND w = FindWindowExA(NULL, NULL, "#32770", NULL); w != NULL;
             w = FindWindowExA(NULL, w, "#32770", NULL))
            count += GetWindowThreadProcessId(w, NULL) == GetCurrentThreadId();
        return count;
    }

    HWND owner = NULL;
};

// The dialog is of the dialog class, with the template's style and the
// frame's extended style, 7 units into its owner's client area; the owner is
// disabled while it runs. Once it ends, the owner is enabled, active and has
// the focus, and the dialog is gone.
TEST_F(DialogsTest, DialogWindowAndItsOwner)
{
    EXPECT_EQ(Run(IDD_FULL, {Note()}), -1);
    EXPECT_EQ(gSeen.className, "#32770");
    EXPECT_EQ(gSeen.style, 0x84c800c4u);
    EXPECT_EQ(gSeen.exStyle, 0x10101u);
    EXPECT_EQ(gSeen.rect, Rect(8, -11, 245, 242));
    EXPECT_EQ(gSeen.initParam, 42);
    EXPECT_EQ(gSeen.ownerAtInit, owner);
    EXPECT_FALSE(gSeen.ownerEnabledAtInit);
    EXPECT_EQ(gSeen.notes, std::vector<std::string>{"11 start"});
    EXPECT_FALSE(IsWindow(gSeen.dialog));
    EXPECT_EQ(Dialogs(), 0);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(GetFocus(), owner);
}

// The owner of a modal dialog is the top-level window of the one named,
// which the dialog is placed into.
TEST_F(DialogsTest, OwnerIsTheTopLevelWindow)
{
    HWND child = Make("kid", WS_CHILD | WS_VISIBLE, 20, 10, 40, 30, owner);
    Run(IDD_FULL, {}, child);
    EXPECT_EQ(gSeen.ownerAtInit, owner);
    EXPECT_EQ(gSeen.rect, Rect(28, -1, 265, 252));
    EXPECT_FALSE(gSeen.ownerEnabledAtInit);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

// EndDialog enables the owner, even one that was disabled before.
TEST_F(DialogsTest, OwnerDisabledBeforeIsEnabledAfter)
{
    EnableWindow(owner, FALSE);
    EXPECT_EQ(Run(IDD_FULL, {ClickOn(IDOK)}), 100);
    EXPECT_FALSE(gSeen.ownerEnabledAtInit);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

struct FocusCase {
    const char *label;
    int dialog;
    INT_PTR initAnswer;
    int focusAtInit;
    int initControl;  // what WM_INITDIALOG names
    const char *focus;
};

class DialogFocusTest : public DialogsTest, public ::testing::WithParamInterface<FocusCase> {};

// WM_INITDIALOG names the first tab stop, or the first control without one;
// that control gets the focus, or the dialog itself when it has none,
// whatever WM_INITDIALOG answers, unless the procedure gave it another.
TEST_P(DialogFocusTest, FirstControlOrTheOneGiven)
{
    const FocusCase &c = GetParam();
    gSeen.initAnswer = c.initAnswer;
    gSeen.focusAtInit = c.focusAtInit;
    Run(c.dialog, {Note()});
    EXPECT_EQ(gSeen.initControl, c.initControl) << c.label;
    ASSERT_EQ(gSeen.notes.size(), 1u) << c.label;
    EXPECT_EQ(gSeen.notes[0].substr(0, gSeen.notes[0].find(' ')), c.focus) << c.label;
    if (c.focusAtInit != 0) {
        EXPECT_EQ(gSeen.focusBefore, nullptr) << "the owner lost it when it was disabled";
        EXPECT_TRUE(gSeen.activeAfterFocus) << "the dialog became active";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Initialization, DialogFocusTest,
    ::testing::Values(
        FocusCase{"default focus asked for", IDD_FULL, TRUE, 0, IDC_TEXT, "11"},
        FocusCase{"no focus asked for", IDD_FULL, FALSE, 0, IDC_TEXT, "11"},
        FocusCase{"focus set, none asked for", IDD_FULL, FALSE, IDOK, IDC_TEXT, "1"},
        FocusCase{"focus set, default asked for", IDD_FULL, TRUE, IDOK, IDC_TEXT, "11"},
        FocusCase{"no tab stop", IDD_PICTURE, TRUE, 0, IDC_PICTURE, "10"},
        FocusCase{"no tab stop, no focus asked for", IDD_PICTURE, FALSE, 0, IDC_PICTURE, "10"},
        FocusCase{"no control", IDD_EMPTY, TRUE, 0, 0, "dialog"}));

// A dialog deactivated and activated again gives the focus back to the
// control that had it.
TEST_F(DialogsTest, FocusComesBackWithTheActivation)
{
    gSeen.other = Make("Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 300, 200, 150);
    Pump();
    SetActiveWindow(owner);
    Run(IDD_FULL, {Send(kFocusOther), Note(), Send(kAwayAndBack), Note()});
    EXPECT_EQ(gSeen.notes, (std::vector<std::string>{"12 start", "12 start"}));
}

// The user's text in the field, read when OK is clicked, which gives the
// button the focus and ends the dialog with the answer of EndDialog.
TEST_F(DialogsTest, TypedTextThenOk)
{
    EXPECT_EQ(Run(IDD_FULL, {TypeText(IDC_TEXT, "a#c"), ClickOn(IDOK), ClickOn(IDCANCEL)}), 100);
    EXPECT_EQ(gSeen.textAtCommand, "a#c");
    EXPECT_EQ(gSeen.events, (std::vector<std::string>{"SHOW", "COMMAND 0x1 control"}));
    EXPECT_EQ(gSeen.focusAtCommand, "1");
    EXPECT_EQ(GetFocus(), owner) << "EndDialog hands the focus back to the owner";
    EXPECT_TRUE(IsWindowEnabled(owner));
}

// The limit stops the keys typed over the selected text, not a text set.
TEST_F(DialogsTest, LimitStopsTheKeysTyped)
{
    gSeen.limit = 5;
    Run(IDD_FULL, {TypeKeys(IDC_TEXT, "abcdefgh"), Note(), TypeText(IDC_TEXT, "0123456789"), Note(),
                   TypeKeys(IDC_TEXT, "xy"), Note()});
    EXPECT_EQ(gSeen.notes, (std::vector<std::string>{"11 abcde", "11 0123456789", "11 xy"}));
}

// A click reaches a shown and enabled control only: it gives it the focus.
TEST_F(DialogsTest, ClickReachesOnlyAnEnabledControl)
{
    EXPECT_EQ(Run(IDD_DISABLED_CANCEL, {ClickOn(IDCANCEL), Note(), ClickOn(IDC_OTHER), Note()}),
              -1);
    EXPECT_EQ(gSeen.events, (std::vector<std::string>{"SHOW", "COMMAND 0xc control"}));
    EXPECT_EQ(gSeen.notes, (std::vector<std::string>{"11 start", "12 start"}));
}

TEST_F(DialogsTest, CommandsCarryTheirWParam)
{
    EXPECT_EQ(Run(IDD_FULL, {Command(MAKEWPARAM(IDOK, 1)), Command(IDCANCEL)}), 200);
    EXPECT_EQ(gSeen.events,
              (std::vector<std::string>{"SHOW", "COMMAND 0x10001 0", "COMMAND 0x2 0"}));
}

struct CloseCase {
    const char *label;
    int dialog;
    const char *command;
};

class CloseBoxTest : public DialogsTest, public ::testing::WithParamInterface<CloseCase> {};

// DefDlgProc turns WM_CLOSE into Cancel with the button as lParam, even a
// disabled one; without the button lParam is 0.
TEST_P(CloseBoxTest, BecomesCancel)
{
    const CloseCase &c = GetParam();
    EXPECT_EQ(Run(c.dialog, {CloseBox()}), 200) << c.label;
    EXPECT_EQ(gSeen.events, (std::vector<std::string>{"SHOW", "SYSCOMMAND", "CLOSE", c.command}))
        << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, CloseBoxTest,
    ::testing::Values(CloseCase{"with Cancel", IDD_FULL, "COMMAND 0x2 control"},
                      CloseCase{"with Cancel disabled", IDD_DISABLED_CANCEL, "COMMAND 0x2 control"},
                      CloseCase{"without Cancel", IDD_PICTURE, "COMMAND 0x2 0"}));

// What is posted before the queue first runs empty comes before the dialog
// shows; what is posted after it has ended never comes, and goes with it.
TEST_F(DialogsTest, PostedMessagesAndTheEnd)
{
    gSeen.postAtInit = true;
    gSeen.postAfterEnd = true;
    EXPECT_EQ(Run(IDD_FULL, {ClickOn(IDOK), CloseBox()}), 300) << "the last EndDialog counts";
    EXPECT_EQ(gSeen.events, (std::vector<std::string>{"USER", "SHOW", "COMMAND 0x1 control"}));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, NULL, WM_USER, WM_USER, PM_REMOVE));
}

// Ended in WM_INITDIALOG, the dialog never shows.
TEST_F(DialogsTest, EndedBeforeItShows)
{
    gSeen.endAtInit = 7;
    EXPECT_EQ(Run(IDD_FULL, {ClickOn(IDOK)}), 7);
    EXPECT_TRUE(gSeen.events.empty());
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(GetFocus(), owner);
    EXPECT_EQ(Dialogs(), 0);
}

// A dialog that its procedure destroys answers 0, and no one enables its
// owner again.
TEST_F(DialogsTest, DestroyedByItsProcedure)
{
    gSeen.destroyOnCommand = true;
    EXPECT_EQ(Run(IDD_FULL, {ClickOn(IDOK)}), 0);
    EXPECT_EQ(gSeen.events, (std::vector<std::string>{"SHOW", "COMMAND 0x1 control"}));
    EXPECT_FALSE(IsWindow(gSeen.dialog));
    EXPECT_FALSE(IsWindowEnabled(owner));
}

// A template that is not there, or whose controls cannot all be made, opens
// no dialog; an owner that is no window answers 0.
TEST_F(DialogsTest, RefusedDialogs)
{
    EXPECT_EQ(Run(555, {ClickOn(IDOK)}), -1);
    EXPECT_EQ(RunDialog("ConformanceNoSuchDialog", owner, {}), -1);
    EXPECT_EQ(Run(IDD_BROKEN, {}), -1);
    EXPECT_EQ(RunDialog(MAKEINTRESOURCEA(IDD_FULL), kNoWindow, {}), 0);
    EXPECT_EQ(gSeen.dialog, nullptr) << "no WM_INITDIALOG";
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(Dialogs(), 0);
}

// The dialog items of a window of the dialog class; EndDialog takes none
// other.
TEST_F(ConformanceTest, DialogItemFunctions)
{
    HWND dialog = MakeOf("#32770", "d", WS_POPUP, 0, 0, 200, 100);
    HWND edit = CreateWindowExA(0, "Edit", "hello world", WS_CHILD, 0, 0, 50, 10, dialog,
                                reinterpret_cast<HMENU>(11), Instance(), NULL);
    HWND other = Make("other", WS_POPUP);
    EXPECT_EQ(GetDlgItem(dialog, 11), edit);
    EXPECT_EQ(GetDlgItem(dialog, 99), nullptr);
    EXPECT_EQ(GetDlgItem(kNoWindow, 11), nullptr);
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
    EXPECT_EQ(TextOf(edit), "new");
    EXPECT_FALSE(SetDlgItemTextA(dialog, 99, "x"));
    EXPECT_EQ(SendDlgItemMessageA(dialog, 11, EM_LIMITTEXT, 2, 0), 0);
    SendMessageA(edit, WM_CHAR, 'a', 1);
    EXPECT_EQ(TextOf(edit), "new") << "the limit holds";
    EXPECT_EQ(SendDlgItemMessageA(dialog, 99, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_FALSE(EndDialog(other, 5)) << "not a dialog";
}

}  // namespace
}  // namespace conformance
